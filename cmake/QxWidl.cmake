# qx_widl(<name> <file.idl>)
#
# Compiles an IDL file with widl into ${CMAKE_CURRENT_BINARY_DIR}:
#   <name>.h       interfaces for C and C++
#   <name>_i.c     the IIDs and CLSIDs
#   <name>.tlb     the type library of the file's `library` block
#   <name>_tlb.rc  that type library as TYPELIB resource 1 (LoadTypeLib on
#                  the module's own path finds it there)
# and sets in the caller's scope:
#   <name>_WIDL_SOURCES  the _i.c and the .rc, to add to a target
#   <name>_WIDL_INCLUDES the folders a target needs to include <name>.h
#
# The toolchain ships no system IDL files, so an IDL file imports
# "QxOleBase.idl" (cmake/idl) instead of oaidl.idl; the generated header
# then includes cmake/idl/QxOleBase.h, which brings in the real headers.
# widl writes the type library for the target's pointer size (SYS_WIN32 or
# SYS_WIN64) and takes stdole2.tlb from the installed Wine.
set(QX_IDL_DIR ${CMAKE_CURRENT_LIST_DIR}/idl)

function(qx_widl name idl)
  if(NOT QX_WIDL)
    message(FATAL_ERROR "qx_widl: no IDL compiler (QX_WIDL) in this toolchain")
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_arch -m64)
    set(_stdole /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  else()
    set(_arch -m32)
    set(_stdole /usr/lib/i386-linux-gnu/wine/i386-windows)
  endif()
  get_filename_component(_idl ${idl} ABSOLUTE)
  get_filename_component(_idl_dir ${_idl} DIRECTORY)
  set(_out ${CMAKE_CURRENT_BINARY_DIR})
  set(_widl ${QX_WIDL} ${_arch} -L${_stdole} -I${QX_IDL_DIR} -I${_idl_dir})
  add_custom_command(
    OUTPUT ${_out}/${name}.h ${_out}/${name}_i.c ${_out}/${name}.tlb
    COMMAND ${_widl} -h -o ${_out}/${name}.h ${_idl}
    COMMAND ${_widl} -u -o ${_out}/${name}_i.c ${_idl}
    COMMAND ${_widl} -t -o ${_out}/${name}.tlb ${_idl}
    DEPENDS ${_idl} ${QX_IDL_DIR}/QxOleBase.idl
    COMMENT "widl ${name}"
    VERBATIM)
  file(WRITE ${_out}/${name}_tlb.rc.in "1 TYPELIB \"${_out}/${name}.tlb\"\n")
  configure_file(${_out}/${name}_tlb.rc.in ${_out}/${name}_tlb.rc COPYONLY)
  set_source_files_properties(${_out}/${name}_tlb.rc PROPERTIES
    OBJECT_DEPENDS ${_out}/${name}.tlb)
  set(${name}_WIDL_SOURCES ${_out}/${name}_i.c ${_out}/${name}.h ${_out}/${name}_tlb.rc PARENT_SCOPE)
  set(${name}_WIDL_INCLUDES ${_out} ${QX_IDL_DIR} PARENT_SCOPE)
endfunction()
