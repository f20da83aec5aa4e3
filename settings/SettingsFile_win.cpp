#include "settings/SettingsFile_win.h"

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/Win32Error.h"

#include <algorithm>
#include <climits>

namespace settings {

namespace {

platform::Error FileError(const wchar_t* what, const std::wstring& path, DWORD code) {
    return platform::Error(std::wstring(what) + L" file \"" + path + L"\". " +
                           platform::SystemErrorText(code));
}

[[noreturn]] void ThrowCannotOpen(const std::wstring& path, DWORD code) {
    throw CannotOpenError(path, code);
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

// The temporary file beside the settings file, and the backup that ReplaceFileW moves the old
// file to; removed unless told to keep it.
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

// Named after the process, so that two copies of the program closing together do not write
// into each other's files.
std::wstring TemporaryStem(const std::wstring& path) {
    return path + L"." + std::to_wstring(GetCurrentProcessId());
}

// Another program (a virus scanner, an indexer, an editor) often holds a file open for a
// moment only; a few tries over a short while get past it.
template <class Action> bool RetryWhileShared(Action action) {
    constexpr int Tries = 5;
    constexpr DWORD Pause = 100; // milliseconds
    for (int attempt = 1;; ++attempt) {
        if (action()) {
            return true;
        }
        const DWORD error = GetLastError();
        // ReplaceFileW reports a replaced file held open without delete sharing either way.
        if (attempt == Tries ||
            (error != ERROR_SHARING_VIOLATION && error != ERROR_UNABLE_TO_REMOVE_REPLACED)) {
            return false;
        }
        Sleep(Pause);
    }
}

// Reads the whole file; the system's error code when that fails.
DWORD ReadWholeFile(const std::wstring& path, DWORD share, std::string& bytes) {
    const platform::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return GetLastError();
    }
    char buffer[65536];
    DWORD read = 0;
    do {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
            return GetLastError();
        }
        bytes.append(buffer, read);
    } while (read != 0);
    return ERROR_SUCCESS;
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Writes all the bytes at the start of the file and cuts it there, then flushes it to disk.
bool WriteWhole(FileOperations& operations, HANDLE file, std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        if (!operations.Write(file, written, bytes.data() + written, chunk, done)) {
            return false;
        }
        written += done;
    }
    return operations.SetSize(file, bytes.size()) && operations.Flush(file);
}

// Writes the new file beside the old one; the system's error code when that fails.
DWORD WriteTemporary(FileOperations& operations, const TemporaryFile& temporary,
                     std::string_view bytes) {
    const platform::UniqueFile file(
        operations.Open(temporary.Path(), GENERIC_WRITE, 0, CREATE_ALWAYS));
    if (!file) {
        return GetLastError();
    }
    return WriteWhole(operations, file.get(), bytes) ? ERROR_SUCCESS : GetLastError();
}

// The file takes the temporary's place; ReplaceFileW gives the new file the old one's
// attributes, security and streams. With a backup name, no failure loses the old file.
DWORD ReplaceWithTemporary(FileOperations& operations, const std::wstring& path,
                           std::string_view bytes) {
    const std::wstring stem = TemporaryStem(path);
    TemporaryFile temporary(stem + L".tmp");
    TemporaryFile backup(stem + L".bak");
    if (const DWORD error = WriteTemporary(operations, temporary, bytes)) {
        return error;
    }
    if (RetryWhileShared(
            [&] { return operations.Replace(path, temporary.Path(), backup.Path()); })) {
        temporary.Release();
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    // The old file was moved to the backup but the new one could not take its place.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && !operations.Move(backup.Path(), path)) {
        backup.Release();
    }
    return error;
}

// When the file cannot be replaced (another program holds it without delete sharing, or the
// folder does not let files be created), its contents are rewritten where they are; a failure
// midway puts the old bytes back.
DWORD RewriteInPlace(FileOperations& operations, const std::wstring& path, std::string_view bytes,
                     std::string_view oldBytes) {
    const platform::UniqueFile file(
        operations.Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
    if (!file) {
        return GetLastError();
    }
    if (WriteWhole(operations, file.get(), bytes)) {
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    WriteWhole(operations, file.get(), oldBytes);
    return error;
}

// The first save: the new file appears whole under its name, and never over a file that
// another program created meanwhile.
DWORD CreateFromTemporary(FileOperations& operations, const std::wstring& path,
                          std::string_view bytes) {
    TemporaryFile temporary(TemporaryStem(path) + L".tmp");
    if (const DWORD error = WriteTemporary(operations, temporary, bytes)) {
        return error;
    }
    if (!operations.Move(temporary.Path(), path)) {
        return GetLastError();
    }
    temporary.Release();
    return ERROR_SUCCESS;
}

} // namespace

HANDLE FileOperations::Open(const std::wstring& path, DWORD access, DWORD share,
                            DWORD disposition) {
    return CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool FileOperations::Write(HANDLE file, std::uint64_t offset, const char* data, DWORD size,
                           DWORD& written) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return WriteFile(file, data, size, &written, &position) != FALSE;
}

bool FileOperations::SetSize(HANDLE file, std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end) != FALSE;
}

bool FileOperations::Flush(HANDLE file) {
    return FlushFileBuffers(file) != FALSE;
}

bool FileOperations::Replace(const std::wstring& replaced, const std::wstring& replacement,
                             const std::wstring& backup) {
    return ReplaceFileW(replaced.c_str(), replacement.c_str(), backup.c_str(), 0, nullptr,
                        nullptr) != FALSE;
}

bool FileOperations::Move(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

FileOperations& SystemFileOperations() {
    static FileOperations system;
    return system;
}

platform::Error CannotOpenError(const std::wstring& path, DWORD code) {
    return FileError(L"Cannot open", path, code);
}

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

DWORD SettingsFileReadError(const std::wstring& path) {
    std::string bytes;
    const DWORD error =
        ReadWholeFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, bytes);
    return IsMissing(error) ? ERROR_SUCCESS : error;
}

SettingsText ReadSettingsFile(const std::wstring& path) {
    std::string bytes;
    if (const DWORD error = ReadWholeFile(path, FILE_SHARE_READ, bytes)) {
        if (IsMissing(error)) {
            return {};
        }
        ThrowCannotOpen(path, error);
    }
    const std::optional<TextEncoding> encoding = DetectByteOrderMark(bytes);
    std::wstring text =
        encoding
            ? DecodeText(std::string_view(bytes).substr(ByteOrderMark(*encoding).size()), *encoding)
            : FromAnsi(bytes, path);
    return {std::move(text), encoding, std::move(bytes)};
}

void WriteSettingsFile(const std::wstring& path, const SettingsText& contents,
                       FileOperations& operations) {
    const std::string bytes = contents.encoding ? EncodeText(contents.text, *contents.encoding)
                                                : ToAnsi(contents.text, path);
    DWORD error = ERROR_SUCCESS;
    if (!contents.bytes) {
        error = CreateFromTemporary(operations, path, bytes);
    } else if (ReplaceWithTemporary(operations, path, bytes) != ERROR_SUCCESS) {
        error = RewriteInPlace(operations, path, bytes, *contents.bytes);
    }
    if (error != ERROR_SUCCESS) {
        ThrowCannotCreate(path, error);
    }
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

} // namespace settings
