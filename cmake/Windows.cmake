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
endif()

# System libraries that Windows always loads from its own folder, plus the common controls
# that the manifest binds. Anything else is loaded at run time from System32 only.
function(tavimbo_link_windows target)
  target_link_libraries(${target} PUBLIC
    kernel32 user32 gdi32 shell32 ole32 oleaut32 advapi32 shlwapi comctl32 uuid)
endfunction()
