# The conversion over the spreadsheet controls: the window program's
# worksheet source (Windows only).
if(QX_WIN32 AND TARGET qx_automation)
  add_library(qx_app_automation STATIC ${CMAKE_CURRENT_SOURCE_DIR}/AutomationWorksheet_win.cpp)
  target_include_directories(qx_app_automation PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(qx_app_automation PUBLIC qx_app qx_automation)
endif()
