# Run after the link (cmake -P) with MAP and EXE: fails the build, and removes the executable,
# when libstdc++'s own exception throwers are linked again (a thrower that LibraryErrors.cpp
# does not stand in for), with the library's old std::string behind them.
file(STRINGS ${MAP} members REGEX "(functexcept|cow-string-inst)\\.o")
if(members)
  file(REMOVE ${EXE})
  message(FATAL_ERROR "${EXE} links libstdc++'s exception throwers again: wrap the std::__throw_ "
                      "function that the map names in cmake/LibraryErrors.cpp and cmake/Windows.cmake")
endif()
