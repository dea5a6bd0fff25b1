# qx_copy_sheet_server(<target>)
#
# Puts our spreadsheet server (qxsheets.dll) beside the executable <target>
# after every build of it: the program loads the server from its own folder
# when no spreadsheet application is registered, and tests load it from
# there too. Win32 builds only; elsewhere it does nothing.
function(qx_copy_sheet_server target)
  if(NOT QX_WIN32)
    return()
  endif()
  add_dependencies(${target} qxsheets)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:qxsheets> $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
