# The window's description data: portable, so the native build pins its
# bytes too.
add_library(qx_app_window STATIC ${CMAKE_CURRENT_SOURCE_DIR}/MainWindowDescription.cpp)
target_include_directories(qx_app_window PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(qx_app_window PUBLIC qx_ui_description)
