#include "app/SettingsFile_win.h"

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/Win32Error.h"

#include <algorithm>
#include <climits>

namespace app {

namespace {

platform::Error FileError(const wchar_t* what, const std::wstring& path, DWORD code) {
    return platform::Error(std::wstring(what) + L" file \"" + path + L"\". " +
                           platform::SystemErrorText(code));
}

[[noreturn]] void ThrowCannotOpen(const std::wstring& path, DWORD code) {
    throw FileError(L"Cannot open", path, code);
}

[[noreturn]] void ThrowCannotCreate(const std::wstring& path, DWORD code) {
    throw FileError(L"Cannot create", path, code);
}

std::wstring FromAnsi(const std::string& bytes, const std::wstring& path) {
    if (bytes.size() > INT_MAX) {
        ThrowCannotOpen(path, ERROR_FILE_TOO_LARGE);
    }
    const int size = static_cast<int>(bytes.size());
    const int length =
        size == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length != 0) {
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
    }
    return text;
}

std::string ToAnsi(const std::wstring& text, const std::wstring& path) {
    if (text.size() > INT_MAX) {
        ThrowCannotCreate(path, ERROR_FILE_TOO_LARGE);
    }
    const int size = static_cast<int>(text.size());
    const int length =
        size == 0 ? 0
                  : WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (length != 0) {
        WideCharToMultiByte(CP_ACP, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    }
    return bytes;
}

// The temporary file beside the settings file; removed unless it has taken the file's place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            DeleteFileW(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Path() const { return path_; }
    void Release() { path_.clear(); }

private:
    std::wstring path_;
};

} // namespace

std::wstring ReadProfileString(const std::wstring& path, const wchar_t* section,
                               const wchar_t* key) {
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(value.size());
        const DWORD length =
            GetPrivateProfileStringW(section, key, L"", value.data(), size, path.c_str());
        // A value that fills the buffer may have been cut short.
        if (length + 1 < size) {
            value.resize(length);
            return value;
        }
        value.resize(value.size() * 2);
    }
}

SettingsText ReadSettingsFile(const std::wstring& path) {
    const platform::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return {};
        }
        ThrowCannotOpen(path, error);
    }
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    do {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
            ThrowCannotOpen(path, GetLastError());
        }
        bytes.append(buffer, read);
    } while (read != 0);

    const std::optional<TextEncoding> encoding = DetectByteOrderMark(bytes);
    if (!encoding) {
        return {FromAnsi(bytes, path), std::nullopt};
    }
    return {DecodeText(std::string_view(bytes).substr(ByteOrderMark(*encoding).size()), *encoding),
            encoding};
}

void WriteSettingsFile(const std::wstring& path, const SettingsText& contents) {
    const std::string bytes = contents.encoding ? EncodeText(contents.text, *contents.encoding)
                                                : ToAnsi(contents.text, path);
    // Named after the process, so that two copies of the program closing together do not
    // write into each other's file.
    TemporaryFile temporary(path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp");
    {
        const platform::UniqueFile file(CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0,
                                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                    nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            temporary.Release(); // not ours: it could not be created
            ThrowCannotCreate(path, error);
        }
        std::size_t written = 0;
        while (written < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
            DWORD done = 0;
            if (!WriteFile(file.get(), bytes.data() + written, chunk, &done, nullptr)) {
                ThrowCannotCreate(path, GetLastError());
            }
            written += done;
        }
        if (!FlushFileBuffers(file.get())) {
            ThrowCannotCreate(path, GetLastError());
        }
    }
    if (!MoveFileExW(temporary.Path().c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowCannotCreate(path, GetLastError());
    }
    temporary.Release();
}

std::wstring DateTimeText(const SYSTEMTIME& time) {
    auto format = [&](auto function, DWORD flags) {
        const int size = function(LOCALE_USER_DEFAULT, flags, &time, nullptr, nullptr, 0);
        std::wstring text(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
        const int length = function(LOCALE_USER_DEFAULT, flags, &time, nullptr, text.data(), size);
        text.resize(length > 0 ? static_cast<std::size_t>(length) - 1 : 0);
        return text;
    };
    std::wstring text = format(GetDateFormatW, DATE_SHORTDATE);
    const bool midnight =
        time.wHour == 0 && time.wMinute == 0 && time.wSecond == 0 && time.wMilliseconds == 0;
    if (!midnight) {
        text += L' ';
        text += format(GetTimeFormatW, 0);
    }
    return text;
}

} // namespace app
