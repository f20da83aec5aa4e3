// Forced into every source by tools/msvc-check/toolchain.cmake: what the MinGW-w64 headers lack
// in MSVC mode.
#include <_mingw.h>
#ifdef __cplusplus
// Their interfaces carry no __declspec(uuid): __uuidof as their own template, as for GCC.
#undef USE___UUIDOF
#define USE___UUIDOF 0
#undef __CRT_UUID_DECL
#define __CRT_UUID_DECL(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)                          \
    extern "C++" {                                                                                 \
    template <> struct __mingw_uuidof_s<type> {                                                    \
        static constexpr IID __uuid_inst = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};          \
    };                                                                                             \
    template <> constexpr const GUID& __mingw_uuidof<type>() {                                     \
        return __mingw_uuidof_s<type>::__uuid_inst;                                                \
    }                                                                                              \
    template <> constexpr const GUID& __mingw_uuidof<type*>() {                                    \
        return __mingw_uuidof_s<type>::__uuid_inst;                                                \
    }                                                                                              \
    }
#define __uuidof(type) __mingw_uuidof<__typeof(type)>()
// The UCRT's, which libc++'s <locale> calls.
#include <stdlib.h>
extern "C" float __cdecl _strtof_l(const char*, char**, _locale_t);
extern "C" long double __cdecl _strtold_l(const char*, char**, _locale_t);
#endif
