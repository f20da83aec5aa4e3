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
set(TAVIMBO_EPOCH ${_epoch})
math(EXPR TAVIMBO_VERSION_RELEASE "(${_epoch} - 946684800) / 86400")
math(EXPR TAVIMBO_VERSION_BUILD "((${_epoch} - 946684800) % 86400) / 2")
set(TAVIMBO_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(TAVIMBO_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(TAVIMBO_FILE_VERSION
    "${TAVIMBO_VERSION_MAJOR}.${TAVIMBO_VERSION_MINOR}.${TAVIMBO_VERSION_RELEASE}.${TAVIMBO_VERSION_BUILD}")
# The product's version is the project's major.minor: the About box's "V1.1", the version
# resource's ProductVersion and the package's name all read it.
set(TAVIMBO_PRODUCT_VERSION "${TAVIMBO_VERSION_MAJOR}.${TAVIMBO_VERSION_MINOR}")

# What the About box, the version resource and the read-me say about the publisher. A publisher
# sets all three to their own notice and addresses (cmake -D...); until then they are reserved
# names that reach no one, and cpack refuses to pack the zip (packaging/PackConfig.cmake). The
# home page must end in "/" because the donation page is appended to it.
set(_unset_COPYRIGHT_TEXT "Copyright (C) 2026 publisher.invalid (developer build)")
set(_unset_CONTACT_MAIL "developer-build@publisher.invalid")
set(_unset_HOME_PAGE_URL "https://publisher.invalid/")
set(TAVIMBO_COPYRIGHT_TEXT "${_unset_COPYRIGHT_TEXT}" CACHE STRING
    "The About box's copyright line and the version resource's LegalCopyright")
set(TAVIMBO_CONTACT_MAIL "${_unset_CONTACT_MAIL}" CACHE STRING
    "The About box's contact e-mail address")
set(TAVIMBO_HOME_PAGE_URL "${_unset_HOME_PAGE_URL}" CACHE STRING
    "The home page's address, ending in /; the donation page is software/index3.html below it")
if(NOT TAVIMBO_HOME_PAGE_URL MATCHES "/$")
  message(FATAL_ERROR "TAVIMBO_HOME_PAGE_URL must end in /: ${TAVIMBO_HOME_PAGE_URL}")
endif()
set(TAVIMBO_PUBLISHER_UNSET "")
foreach(name COPYRIGHT_TEXT CONTACT_MAIL HOME_PAGE_URL)
  if("${TAVIMBO_${name}}" STREQUAL "${_unset_${name}}")
    list(APPEND TAVIMBO_PUBLISHER_UNSET TAVIMBO_${name})
  endif()
  # As C string literals: backslashes and quotes escaped.
  string(REPLACE "\\" "\\\\" _literal "${TAVIMBO_${name}}")
  string(REPLACE "\"" "\\\"" _literal "${_literal}")
  set(TAVIMBO_${name}_LITERAL "\"${_literal}\"")
endforeach()
if(TAVIMBO_PUBLISHER_UNSET)
  list(JOIN TAVIMBO_PUBLISHER_UNSET ", " _names)
  message(STATUS "A developer build, which cpack will not pack: ${_names} not set")
endif()

configure_file(${CMAKE_SOURCE_DIR}/resources/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)
message(STATUS "Tavimbo ${TAVIMBO_PRODUCT_VERSION}, file version ${TAVIMBO_FILE_VERSION}")
