#include "platform/SystemLibrary.h"

#include "platform/Error.h"
#include "platform/Win32Error.h"

#include <delayimp.h>

#include <string>

namespace {

std::wstring Widen(const char* name) {
    return std::wstring(name, name + std::char_traits<char>::length(name));
}

// shell32 is a delay import, loaded by the first call of one of its functions. Should that fail
// (a damaged system, a function that an older Windows lacks), the call throws the program's own
// error, which the error report shows, rather than a structured exception that nothing catches.
FARPROC WINAPI DelayLoadFailed(unsigned notification, PDelayLoadInfo info) {
    std::wstring what = L"Cannot load " + Widen(info->szDll);
    if (notification == dliFailGetProc) {
        what = L"Cannot find " +
               (info->dlp.fImportByName ? Widen(info->dlp.szProcName)
                                        : L"#" + std::to_wstring(info->dlp.dwOrdinal)) +
               L" in " + Widen(info->szDll);
    }
    throw platform::Error(what + L". " + platform::SystemErrorText(info->dwLastError));
}

} // namespace

// Declared const by Visual C++'s header and not by MinGW-w64's.
extern "C" {
decltype(__pfnDliFailureHook2) __pfnDliFailureHook2 = DelayLoadFailed;
}

namespace platform {

SystemLibrary::SystemLibrary(const wchar_t* name)
    : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    if (!module_) {
        ThrowLastError();
    }
}

FARPROC SystemLibrary::Address(const char* name) const {
    FARPROC address = GetProcAddress(module_.get(), name);
    if (address == nullptr) {
        ThrowLastError();
    }
    return address;
}

} // namespace platform
