# Run by cpack after it packed: writes the zip again with its names in sorted order (cpack takes
# them in the file system's order). cpack then copies it out and writes its checksum.
# packaging/sign-zip runs it too (cmake -P, with the same variables), to pack the signed program.
file(GLOB_RECURSE names LIST_DIRECTORIES false RELATIVE ${CPACK_TEMPORARY_DIRECTORY}
     ${CPACK_TEMPORARY_DIRECTORY}/*)
list(SORT names)
list(JOIN names "\n" listing)
set(list_file ${CPACK_TOPLEVEL_DIRECTORY}/names.txt)
file(WRITE ${list_file} "${listing}\n")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  file(REMOVE ${package})
  # Every date in it (modified, accessed, created) is SOURCE_DATE_EPOCH, set before packing.
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${package} --format=zip
                          --files-from=${list_file}
                  WORKING_DIRECTORY ${CPACK_TEMPORARY_DIRECTORY}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
