# Read by cpack before it packs: the archive's dates are the build's moment, written in UTC
# whatever the time zone of the machine (zip keeps local times).
set(ENV{SOURCE_DATE_EPOCH} ${CPACK_TAVIMBO_EPOCH})
set(ENV{TZ} UTC)
