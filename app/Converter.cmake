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
  if(COMMAND qx_copy_sheet_server)
    qx_copy_sheet_server(quillox)
  endif()
endif()
