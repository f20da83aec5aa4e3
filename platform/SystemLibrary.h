#pragma once

#include "platform/Handles.h"

namespace platform {

// A system DLL that is not one of Windows' known DLLs, loaded from System32 only, so that a
// copy planted beside the executable is never used.
class SystemLibrary {
public:
    // load is Windows' LoadLibraryExW, or a stand-in for it.
    using Loading = decltype(LoadLibraryExW);
    explicit SystemLibrary(const wchar_t* name, Loading* load = LoadLibraryExW);

    template <class Function> Function* Get(const char* name) const {
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(Address(name)));
    }

private:
    FARPROC Address(const char* name) const;

    UniqueModule module_;
};

} // namespace platform
