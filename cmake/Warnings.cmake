# The same strict warnings for every target of ours, on every compiler.
function(tavimbo_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8 /Zc:__cplusplus)
    if(TAVIMBO_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
      -Wcast-qual -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations
      -Wundef -Wunused -Wnull-dereference)
    if(TAVIMBO_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()
