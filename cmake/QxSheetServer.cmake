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
  # A step of its own, run on every build: a copy made after linking the
  # program would go stale when only the DLL changes.
  add_custom_target(${target}_sheet_server ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${target}>
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:qxsheets> $<TARGET_FILE_DIR:${target}>
    DEPENDS qxsheets
    VERBATIM)
  add_dependencies(${target} ${target}_sheet_server)
endfunction()
