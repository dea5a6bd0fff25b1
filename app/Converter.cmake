# quillox.exe, the converter's window program (Windows only). Our spreadsheet
# server goes beside it: the program finds it there when no spreadsheet
# application is registered.
if(QX_WIN32 AND TARGET qx_automation)
  add_library(qx_app_converter STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/ConverterHandlers_win.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/SpreadsheetProcesses_win.cpp)
  target_include_directories(qx_app_converter PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(qx_app_converter PUBLIC qx_app_automation qx_app_window qx_ui qx_automation)
  add_executable(quillox WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/ConverterMain_win.cpp)
  target_link_libraries(quillox PRIVATE qx_app_converter)
  # The icon is drawn by a script at build time rather than kept as a binary.
  find_program(QX_PYTHON python3 REQUIRED)
  set(_icon ${CMAKE_CURRENT_BINARY_DIR}/quillox.ico)
  add_custom_command(OUTPUT ${_icon}
    COMMAND ${QX_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/resources/make-icon.py ${_icon}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/make-icon.py VERBATIM)
  add_custom_target(quillox_icon DEPENDS ${_icon})
  add_dependencies(quillox quillox_icon)
  set(QX_APP_ICON ${_icon} CACHE INTERNAL "The program's icon, also the installer's")
  qx_version_resource(quillox "Quillox 题库转换" ICON ${_icon})
  if(COMMAND qx_copy_sheet_server)
    qx_copy_sheet_server(quillox)
  endif()
endif()
