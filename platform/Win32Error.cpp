#include "platform/Win32Error.h"

#include "platform/Error.h"

namespace platform {

std::wstring SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) {
        text.assign(buffer, length);
    }
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        wchar_t number[32];
        wsprintfW(number, L"System error 0x%08X", static_cast<unsigned>(code));
        text = number;
    }
    return text;
}

void ThrowLastError() {
    throw Error(SystemErrorText(GetLastError()));
}

void ThrowIfFailed(HRESULT result) {
    if (FAILED(result)) {
        throw Error(SystemErrorText(static_cast<DWORD>(result)));
    }
}

} // namespace platform
