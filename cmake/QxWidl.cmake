# IDL in, C header + interface identifiers + type library + resource script
# out, for COM objects of our own (our spreadsheet server, test objects).
#
#   qx_widl(<name> <file.idl>)
#
# writes into ${CMAKE_CURRENT_BINARY_DIR}/widl/<name>/:
#   <name>.h        the interfaces, for C and C++
#   <name>_i.c      their IIDs, CLSIDs and LIBIDs
#   <name>.tlb      the type library
#   <name>_tlb.rc   one resource: the type library as TYPELIB 1
# and sets in the caller's scope <name>_SOURCES (the _i.c and the .rc, to add
# to a target) and <name>_INCLUDE_DIR (the folders its header needs).
#
# The IDL imports "QxOleTypes.idl" (cmake/widl) instead of the platform's
# oaidl.idl, which Debian does not ship: it declares just what a type
# library of ours refers to, and its header is the platform's <oaidl.h>.
# `importlib("stdole2.tlb")` in the library block makes IUnknown and
# IDispatch references into the system's standard library.
if(NOT QX_WIN32)
  return()
endif()
enable_language(RC)

set(QX_WIDL_TYPES_DIR ${CMAKE_CURRENT_LIST_DIR}/widl)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_qx_widl_arch --win64)
  set(_qx_stdole_dirs /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows)
else()
  set(_qx_widl_arch --win32)
  set(_qx_stdole_dirs /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows)
endif()
find_path(QX_STDOLE2_DIR stdole2.tlb PATHS ${_qx_stdole_dirs} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT QX_STDOLE2_DIR)
  message(FATAL_ERROR "stdole2.tlb not found (Wine's) in ${_qx_stdole_dirs}: widl needs it for importlib")
endif()

function(qx_widl name idl)
  get_filename_component(idl ${idl} ABSOLUTE)
  get_filename_component(idl_dir ${idl} DIRECTORY)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/widl/${name})
  file(MAKE_DIRECTORY ${out})
  add_custom_command(
    OUTPUT ${out}/${name}.h ${out}/${name}_i.c ${out}/${name}.tlb
    COMMAND ${QX_WIDL} ${_qx_widl_arch} -I ${QX_WIDL_TYPES_DIR} -I ${idl_dir} -L ${QX_STDOLE2_DIR}
            -h -H ${out}/${name}.h -u -U ${out}/${name}_i.c -t -T ${out}/${name}.tlb ${idl}
    DEPENDS ${idl} ${QX_WIDL_TYPES_DIR}/QxOleTypes.idl
    COMMENT "widl ${name}"
    VERBATIM)
  file(WRITE ${out}/${name}_tlb.rc.in "1 TYPELIB \"${out}/${name}.tlb\"\n")
  configure_file(${out}/${name}_tlb.rc.in ${out}/${name}_tlb.rc COPYONLY)
  set_source_files_properties(${out}/${name}_tlb.rc PROPERTIES
    OBJECT_DEPENDS ${out}/${name}.tlb)
  # The header only has to exist before the sources that include it compile.
  set_source_files_properties(${out}/${name}_i.c PROPERTIES OBJECT_DEPENDS ${out}/${name}.h)
  set(${name}_SOURCES ${out}/${name}_i.c ${out}/${name}_tlb.rc ${out}/${name}.h PARENT_SCOPE)
  set(${name}_INCLUDE_DIR ${out} ${QX_WIDL_TYPES_DIR} PARENT_SCOPE)
endfunction()
