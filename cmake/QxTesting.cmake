# Test plumbing shared by every test folder.
#
# Host build: GoogleTest from the Debian package; each test case becomes a
# CTest test. Win32 build: GoogleTest built from /usr/src/googletest with the
# cross compiler; each test executable is one CTest test run under Wine
# through the wrapper (starting Wine once per case would cost a second each).
enable_testing()

if(QX_WIN32)
  set(_gtest_src /usr/src/googletest)
  if(NOT EXISTS ${_gtest_src}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found at ${_gtest_src}: run scripts/install-deps.sh")
  endif()
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${_gtest_src} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own sources are not ours: keep them out of the GBK charset.
  target_compile_options(gtest PRIVATE -fexec-charset=UTF-8)
  target_compile_options(gtest_main PRIVATE -fexec-charset=UTF-8)
  set(QX_GTEST_LIBS gtest_main gtest)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  set(QX_GTEST_LIBS GTest::gtest_main GTest::gtest)
endif()

# qx_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [WIN32_ONLY]
#              [HOST_ONLY] [LABELS <labels...>] [TIMEOUT <s>])
function(qx_add_gtest name)
  cmake_parse_arguments(T "WIN32_ONLY;HOST_ONLY" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(T_WIN32_ONLY AND NOT QX_WIN32)
    return()
  endif()
  if(T_HOST_ONLY AND QX_WIN32)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${QX_GTEST_LIBS})
  target_compile_definitions(${name} PRIVATE
    QX_SOURCE_DIR="${PROJECT_SOURCE_DIR}" QX_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(QX_WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
      LABELS "win32;${T_LABELS}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "host;${T_LABELS}")
  endif()
endfunction()
