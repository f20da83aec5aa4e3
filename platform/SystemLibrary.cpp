#include "platform/SystemLibrary.h"

#include "platform/Win32Error.h"

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
