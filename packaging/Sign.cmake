# Run when the program is installed or packed: signs the installed Tavimbo.exe with Authenticode
# when the publisher gives a code-signing certificate, so that the zip holds the signed program.
# Without one nothing happens, and the zip is the unsigned one, byte for byte.
# The certificate is a PKCS#12 file, TAVIMBO_SIGN_PKCS12 (a cache variable, or the environment
# when packing); its password is the environment's TAVIMBO_SIGN_PASSWORD, never in a file of the
# build; TAVIMBO_TIMESTAMP_URL names an RFC 3161 time-stamp authority, so that the signature
# outlives the certificate.
foreach(name IN ITEMS SIGN_PKCS12 TIMESTAMP_URL)
  if(DEFINED ENV{TAVIMBO_${name}})
    set(TAVIMBO_${name} "$ENV{TAVIMBO_${name}}")
  endif()
endforeach()
if(NOT TAVIMBO_SIGN_PKCS12)
  return()
endif()
find_program(osslsigncode osslsigncode REQUIRED)

set(exe "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/Tavimbo.exe")
# The password reaches the signing tool through a file in a folder that only this user can
# enter: a command line can be read by every user of the machine.
set(private "${tavimbo_sign_folder}")
file(REMOVE_RECURSE "${private}")
file(MAKE_DIRECTORY "${private}")
file(CHMOD "${private}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(WRITE "${private}/password" "$ENV{TAVIMBO_SIGN_PASSWORD}")
set(timestamp)
if(TAVIMBO_TIMESTAMP_URL)
  set(timestamp -ts "${TAVIMBO_TIMESTAMP_URL}")
endif()
execute_process(COMMAND "${osslsigncode}" sign -pkcs12 "${TAVIMBO_SIGN_PKCS12}"
                        -readpass "${private}/password" -h sha256 -n "${tavimbo_sign_name}"
                        -i "${tavimbo_sign_url}" ${timestamp} -in "${exe}" -out "${exe}.signed"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(REMOVE_RECURSE "${private}")
if(NOT result EQUAL 0)
  file(REMOVE "${exe}.signed")
  message(FATAL_ERROR "Cannot sign ${exe}:\n${output}")
endif()
file(RENAME "${exe}.signed" "${exe}")
message(STATUS "Signed: ${exe}")
