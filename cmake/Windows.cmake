# Windows build: Unicode, no legacy headers, hardened and self-contained executables.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                        _WIN32_WINNT=0x0A00 WINVER=0x0A00 STRICT)
if(MSVC)
  add_compile_options(/GS /guard:cf /sdl)
  add_link_options(/DYNAMICBASE /HIGHENTROPYVA /NXCOMPAT /guard:cf)
else()
  add_compile_options(-fstack-protector-strong)
  # -static: libstdc++, libgcc and winpthread inside the exe, so that its import table names
  # only system DLLs. The rest: ASLR with a relocation section, high-entropy VA and DEP, and no
  # link time in the header, so that one commit always builds the same bytes.
  add_link_options(-static -fstack-protector-strong -Wl,--no-insert-timestamp
                   -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat
                   -Wl,--enable-reloc-section)
  # Sections that nothing refers to are dropped: most of the GUID tables of libuuid, which
  # come in whole objects otherwise. A load configuration record is read by the loader, not
  # by code, so its symbol is kept by name whenever a source defines it.
  add_link_options(-Wl,--gc-sections -Wl,--undefined=_load_config_used)
endif()

# For the executable that ships and the benchmark's baseline built like it: libstdc++'s
# demangler serves only the terminate message on a console, which a GUI program lacks, and its
# standard exceptions bring the library's old std::string; the link replaces both with stand-ins
# (NoDemangle.cpp, LibraryErrors.cpp).
function(tavimbo_lean_runtime target)
  if(NOT MSVC)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/NoDemangle.cpp
                                     ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/LibraryErrors.cpp)
    target_link_options(${target} PRIVATE -Wl,--wrap=__cxa_demangle)
    foreach(thrower _ZSt17__throw_bad_allocv _ZSt28__throw_bad_array_new_lengthv
                    _ZSt19__throw_logic_errorPKc _ZSt20__throw_length_errorPKc
                    _ZSt24__throw_out_of_range_fmtPKcz)
      target_link_options(${target} PRIVATE -Wl,--wrap=${thrower})
    endforeach()
  endif()
endfunction()

# shell32, with the shlwapi and shcore that it brings, is a good part of a start under Wine,
# for functions that run only once a file is dropped or received or a button is pressed. So it
# is a delay import, loaded by the first call; being one of Windows' known DLLs, it still comes
# from System32 only. MinGW makes its import library from the functions called
# (shell32-delayed.def).
if(MSVC)
  set(tavimbo_shell32 shell32 delayimp)
else()
  set(tavimbo_shell32 ${CMAKE_BINARY_DIR}/libshell32_delayed.a)
  add_custom_command(OUTPUT ${tavimbo_shell32}
                     COMMAND ${CMAKE_DLLTOOL} --input-def ${CMAKE_CURRENT_LIST_DIR}/shell32-delayed.def
                             --output-delaylib ${tavimbo_shell32}
                     DEPENDS ${CMAKE_CURRENT_LIST_DIR}/shell32-delayed.def VERBATIM)
  add_custom_target(shell32_delayed DEPENDS ${tavimbo_shell32})
endif()

# System libraries that Windows always loads from its own folder, plus the common controls
# that the manifest binds. Anything else is loaded at run time from System32 only.
function(tavimbo_link_windows target)
  target_link_libraries(${target} PUBLIC
    kernel32 user32 gdi32 ${tavimbo_shell32} ole32 oleaut32 advapi32 shlwapi comctl32 uuid)
  if(NOT MSVC)
    # The stack protector's own canary, so that libssp's costly setup stays out (StackGuard.cpp).
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/StackGuard.cpp)
  endif()
  if(MSVC)
    # 4199: a program that calls nothing of shell32 has nothing to delay.
    target_link_options(${target} PUBLIC /DELAYLOAD:shell32.dll /IGNORE:4199)
  else()
    add_dependencies(${target} shell32_delayed)
  endif()
endfunction()

# MinGW: the build fails when shell32 is back in the executable's normal import table.
function(tavimbo_check_delayed_shell32 target)
  add_custom_command(TARGET ${target} POST_BUILD
                     COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:${target}>
                             -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/CheckDelayedShell32.cmake
                     VERBATIM)
endfunction()

# MinGW: the load configuration record of LoadConfig.cpp (DependentLoadFlags), kept
# through --gc-sections and LTO, and pointed to after the link, which GNU ld does not do. The
# link's map also shows whether libstdc++'s exception throwers came back (CheckLeanRuntime).
# Python by name: Windows itself runs no script by its #! line.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
function(tavimbo_load_config target)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/LoadConfig.cpp)
  target_link_options(${target} PRIVATE -Wl,--require-defined=_load_config_used -Wl,-Map=${map})
  add_custom_command(TARGET ${target} POST_BUILD
                     COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/fill-load-config
                             $<TARGET_FILE:${target}> ${map}
                     COMMAND ${CMAKE_COMMAND} -DMAP=${map} -DEXE=$<TARGET_FILE:${target}>
                             -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/CheckLeanRuntime.cmake
                     VERBATIM)
endfunction()
