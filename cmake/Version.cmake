# File version: major.minor from the project version; release and build from the moment of
# the build, as days since 1 January 2000 and seconds since that day's midnight (UTC) divided
# by two. The moment is SOURCE_DATE_EPOCH when set, else the time of the checked-out commit,
# else the time of configuring, so that one commit always builds the same version.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(_epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git log -1 --format=%ct
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  OUTPUT_VARIABLE _epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET RESULT_VARIABLE _git_result)
  if(NOT _git_result EQUAL 0 OR _epoch STREQUAL "")
    string(TIMESTAMP _epoch "%s" UTC)
  endif()
endif()
math(EXPR TAVIMBO_VERSION_RELEASE "(${_epoch} - 946684800) / 86400")
math(EXPR TAVIMBO_VERSION_BUILD "((${_epoch} - 946684800) % 86400) / 2")
set(TAVIMBO_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(TAVIMBO_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(TAVIMBO_FILE_VERSION
    "${TAVIMBO_VERSION_MAJOR}.${TAVIMBO_VERSION_MINOR}.${TAVIMBO_VERSION_RELEASE}.${TAVIMBO_VERSION_BUILD}")
configure_file(${CMAKE_SOURCE_DIR}/resources/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)
message(STATUS "Tavimbo file version ${TAVIMBO_FILE_VERSION}")
