#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

// The system's own text for an error code or HRESULT, without the trailing line break.
std::wstring SystemErrorText(DWORD code);

// Turns a failed call into an Error carrying the system's text, so that callers read as flat
// early exits.
[[noreturn]] void ThrowLastError();
void ThrowIfFailed(HRESULT result);
template <class T> T* ThrowIfNull(T* pointer) {
    if (pointer == nullptr) {
        ThrowLastError();
    }
    return pointer;
}

} // namespace platform
