# Unpacks the portable zip afresh: cmake -DZIP=... -DINTO=... -P Unpack.cmake
if(NOT EXISTS "${ZIP}")
  message(FATAL_ERROR "${ZIP} is missing: run scripts/package.sh with this build tree first")
endif()
file(REMOVE_RECURSE "${INTO}")
file(MAKE_DIRECTORY "${INTO}")
file(ARCHIVE_EXTRACT INPUT "${ZIP}" DESTINATION "${INTO}")
