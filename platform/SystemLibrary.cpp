#include "platform/SystemLibrary.h"

#include "platform/Error.h"
#include "platform/Win32Error.h"

#include <delayimp.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

void AppendAscii(std::wstring& text, const char* ascii) {
    while (*ascii != '\0') {
        text += static_cast<wchar_t>(*ascii++);
    }
}

// shell32 is a delay import, loaded by the first call of one of its functions. Should that fail
// (a damaged system, a function that an older Windows lacks), the call throws the program's own
// error, which the error report shows, rather than a structured exception that nothing catches.
FARPROC WINAPI DelayLoadFailed(unsigned notification, PDelayLoadInfo info) {
    std::wstring what = L"Cannot load ";
    if (notification == dliFailGetProc && info->dlp.fImportByName) {
        what = L"Cannot find ";
        AppendAscii(what, info->dlp.szProcName);
        what += L" in ";
    }
    AppendAscii(what, info->szDll);
    what += L". ";
    what += platform::SystemErrorText(info->dwLastError);
    throw platform::Error(std::move(what));
}

} // namespace

// Declared const by Visual C++'s header and not by MinGW-w64's.
extern "C" {
decltype(__pfnDliFailureHook2) __pfnDliFailureHook2 = DelayLoadFailed;
}

namespace platform {

SystemLibrary::SystemLibrary(const wchar_t* name, Loading* load)
    : module_(load(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    // Windows 7 without KB2533623 refuses the flag: the DLL is then named by its full path, and
    // what it needs is looked for beside it first.
    if (!module_ && GetLastError() == ERROR_INVALID_PARAMETER) {
        wchar_t path[2 * MAX_PATH]{};
        const UINT length = GetSystemDirectoryW(path, MAX_PATH);
        const std::size_t nameLength = std::wcslen(name);
        if (length != 0 && length < MAX_PATH && nameLength < MAX_PATH) {
            path[length] = L'\\';
            std::copy_n(name, nameLength, path + length + 1);
            module_.reset(load(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        }
    }
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
