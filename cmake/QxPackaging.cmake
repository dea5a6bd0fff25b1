# The release, made by CPack from the Windows build: a portable zip and an
# installer. `scripts/package.sh` runs it; the artefacts go to build/dist
# (build/dist-win64 for the 64-bit test build).
# These are the build's only install rules (GoogleTest's are off), so the
# package holds exactly them.
if(NOT TARGET quillox OR NOT TARGET quillox-cli OR NOT TARGET qxsheets)
  return()
endif()

set(_readme ${CMAKE_BINARY_DIR}/packaging/使用说明.txt)
add_custom_command(OUTPUT ${_readme}
  COMMAND ${QX_PYTHON} ${PROJECT_SOURCE_DIR}/cmake/packaging/make-readme.py
          ${PROJECT_SOURCE_DIR}/cmake/packaging/使用说明.txt ${_readme} ${PROJECT_VERSION}
  DEPENDS ${PROJECT_SOURCE_DIR}/cmake/packaging/使用说明.txt
          ${PROJECT_SOURCE_DIR}/cmake/packaging/make-readme.py VERBATIM)
add_custom_target(quillox_readme ALL DEPENDS ${_readme})

install(TARGETS quillox quillox-cli qxsheets RUNTIME DESTINATION .)
install(FILES ${_readme} ${PROJECT_SOURCE_DIR}/samples/题库示例.xlsx DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_arch win64)
  set(_dist ${CMAKE_BINARY_DIR}/../dist-win64)
  set(CPACK_QX_NSIS_TARGET amd64-unicode)
else()
  set(_arch win32)
  set(_dist ${CMAKE_BINARY_DIR}/../dist)
  set(CPACK_QX_NSIS_TARGET x86-unicode)
endif()
get_filename_component(_dist ${_dist} ABSOLUTE)

# scripts/package.sh builds what is packaged; the rest of the tree (tests,
# demonstrations) need not be built for a release.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Quillox)
set(CPACK_PACKAGE_VENDOR Tarvenn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Quillox 题库转换")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quillox)
set(CPACK_OUTPUT_FILE_PREFIX ${_dist})
set(CPACK_STRIP_FILES ON)
set(CPACK_THREADS 0)
# Per generator: the zip is named by its architecture, the installer by its
# purpose (see QxPackageNames.cmake).
set(CPACK_QX_ARCH ${_arch})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/packaging/QxPackageNames.cmake)

# CPack's stock installer asks for administrator rights, installs for all
# users when it has them and writes a key of its own under the vendor's
# name. Ours installs per user, unprivileged, and writes only the uninstall
# entry, so it uses a template of its own (found through the module path).
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/packaging)
set(CPACK_QX_ICON ${QX_APP_ICON})
set(CPACK_QX_VERSION4 ${PROJECT_VERSION}.0)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")

include(CPack)
