# clang-cl for x86-64 Windows in MSVC mode, with the MinGW-w64 headers standing in for the
# Windows SDK and libc++ for MSVC's standard library (tools/check-msvc). It compiles; it does
# not link, for lack of MSVC's libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER clang-cl-14)
set(CMAKE_CXX_COMPILER clang-cl-14)
set(CMAKE_RC_COMPILER llvm-rc-14)
set(CMAKE_LINKER lld-link-14)
set(CMAKE_AR llvm-lib-14)
set(CMAKE_MT llvm-mt-14)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# Windows threads for GoogleTest, not the pthread emulation that the MinGW headers offer.
set(CMAKE_HAVE_PTHREAD_H 0 CACHE INTERNAL "")
set(CMAKE_HAVE_LIBC_PTHREAD 0 CACHE INTERNAL "")
set(gtest_disable_pthreads ON CACHE BOOL "")
# clang's nearest to what MSVC's /W4 warns of beyond clang's -Wall -Wextra: losing conversions
# (C4244, C4267) and hidden names (C4456 to C4459).
set(_warnings "-Wshorten-64-to-32 -Wimplicit-int-conversion -Wfloat-conversion -Wshadow-all")
# The MinGW headers take their GCC branches (attributes that clang understands, templates for
# __uuidof) and the UCRT's declarations; libc++ goes without the vcruntime headers.
set(_headers "/X /imsvc /usr/lib/llvm-14/include/c++/v1 /imsvc /usr/lib/llvm-14/lib/clang/14.0.6/include /imsvc /usr/x86_64-w64-mingw32/include")
set(_modes "-D__GNUC__=12 -D__GNUC_MINOR__=2 -D__GXX_RTTI -D_UCRT -D_LIBCPP_NO_VCRUNTIME /FI${CMAKE_CURRENT_LIST_DIR}/mingw-headers.h")
set(CMAKE_C_FLAGS_INIT "--target=x86_64-pc-windows-msvc ${_headers} ${_modes}")
set(CMAKE_CXX_FLAGS_INIT "--target=x86_64-pc-windows-msvc ${_headers} ${_modes} ${_warnings}")
# rc.exe reads the resource script's #pragma code_page(65001); llvm-rc 14 needs it said.
set(CMAKE_RC_FLAGS_INIT "-I /usr/x86_64-w64-mingw32/include /C 65001")
