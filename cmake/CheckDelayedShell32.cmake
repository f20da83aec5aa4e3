# Run after the link (cmake -P) with OBJDUMP and EXE: fails the build, and removes the
# executable, when it imports shell32 directly again. A function that the program calls but
# shell32-delayed.def lacks comes from MinGW's normal import library, and shell32 then loads at
# every start.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${EXE}")
endif()
string(TOLOWER "${headers}" headers)
if(headers MATCHES "dll name: shell32\\.dll")
  file(REMOVE ${EXE})
  message(FATAL_ERROR "${EXE} imports shell32.dll at every start: add the shell32 functions "
                      "that the program calls to cmake/shell32-delayed.def")
endif()
