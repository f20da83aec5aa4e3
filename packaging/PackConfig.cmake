# Read by cpack before it packs. A zip goes only to users of a publisher who set their own
# notice and addresses: the developer build's reserved names reach no one.
if(CPACK_TAVIMBO_PUBLISHER_UNSET)
  list(JOIN CPACK_TAVIMBO_PUBLISHER_UNSET ", " names)
  message(FATAL_ERROR "No zip of a developer build: ${names} not set. A publisher gives all "
                      "three when configuring, for example cmake --preset release "
                      "-DTAVIMBO_COPYRIGHT_TEXT=\"Copyright (C) 2026 ...\" "
                      "-DTAVIMBO_CONTACT_MAIL=... -DTAVIMBO_HOME_PAGE_URL=https://.../ "
                      "(see the README's \"The release zip\").")
endif()
# The archive's dates are the build's moment, written in UTC whatever the time zone of the
# machine (zip keeps local times).
set(ENV{SOURCE_DATE_EPOCH} ${CPACK_TAVIMBO_EPOCH})
set(ENV{TZ} UTC)
