#include "settings/SettingsFile_win.h"

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/Win32Error.h"
#include "services/RetryWhileShared_win.h"

#include <algorithm>
#include <climits>
#include <vector>

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

// Bytes that the ANSI code page does not carry through a round trip unchanged (a lone lead
// byte, UTF-8 that another program wrote, an unassigned code) stand in the text for the lone
// low surrogates U+DC00 to U+DCFF, which no code page decodes to, and go back out as the same
// bytes: other programs' lines survive a save whatever they hold, under any code page.
constexpr wchar_t ByteStandIn = 0xDC00;

bool IsByteStandIn(wchar_t character) {
    return character >= ByteStandIn && character <= ByteStandIn + 0xFF;
}

std::string AnsiBytes(std::wstring_view text) {
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

// The text of bytes that convert back to themselves, if they do.
std::optional<std::wstring> AnsiText(std::string_view bytes) {
    const int size = static_cast<int>(bytes.size());
    const int length = size == 0 ? 0
                                 : MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(),
                                                       size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length != 0) {
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
    }
    if ((length == 0 && size != 0) || AnsiBytes(text) != bytes) {
        return std::nullopt;
    }
    return text;
}

std::wstring FromAnsi(std::string_view bytes, const std::wstring& path) {
    if (bytes.size() > INT_MAX) {
        ThrowCannotOpen(path, ERROR_FILE_TOO_LARGE);
    }
    if (std::optional<std::wstring> text = AnsiText(bytes)) {
        return std::move(*text);
    }
    // Line by line, and character by character in a line that does not convert back: a line
    // break is never the second byte of a character.
    std::wstring text;
    while (!bytes.empty()) {
        const std::string_view line = bytes.substr(0, bytes.find('\n') + 1);
        if (const std::optional<std::wstring> converted = AnsiText(line)) {
            text += *converted;
        } else {
            for (std::size_t index = 0; index < line.size();) {
                const auto lead = static_cast<unsigned char>(line[index]);
                const std::size_t length =
                    IsDBCSLeadByteEx(CP_ACP, lead) && index + 1 < line.size() ? 2 : 1;
                const std::optional<std::wstring> character = AnsiText(line.substr(index, length));
                text += character ? *character
                                  : std::wstring(1, static_cast<wchar_t>(ByteStandIn + lead));
                index += character ? length : 1;
            }
        }
        bytes.remove_prefix(line.size());
    }
    return text;
}

std::string ToAnsi(std::wstring_view text, const std::wstring& path) {
    if (text.size() > INT_MAX) {
        ThrowCannotCreate(path, ERROR_FILE_TOO_LARGE);
    }
    std::string bytes;
    for (;;) {
        const std::size_t standIn = std::ranges::find_if(text, IsByteStandIn) - text.begin();
        bytes += AnsiBytes(text.substr(0, standIn));
        if (standIn == text.size()) {
            return bytes;
        }
        bytes += static_cast<char>(text[standIn] - ByteStandIn);
        text.remove_prefix(standIn + 1);
    }
}

// One of a save's files beside the settings file (SaveFileKind), removed unless told to keep it.
class SaveFile {
public:
    SaveFile(FileOperations& operations, const std::wstring& path, SaveFileKind kind)
        : operations_(operations),
          path_(SaveFilePath(path, {static_cast<std::uint32_t>(GetCurrentProcessId()), kind})) {}
    ~SaveFile() {
        if (!path_.empty()) {
            operations_.Delete(path_);
        }
    }
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    const std::wstring& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    FileOperations& operations_;
    std::wstring path_;
};

using services::RetryWhileShared;

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

bool IsMissingFile(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && IsMissing(GetLastError());
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
        // A write that succeeds without writing would never end.
        if (done == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        written += done;
    }
    return operations.SetSize(file, bytes.size()) && operations.Flush(file);
}

// Writes a new file, or the existing one in place; the system's error code when that fails.
DWORD WriteFileBytes(FileOperations& operations, const std::wstring& path, DWORD disposition,
                     std::string_view bytes) {
    const platform::UniqueFile file(operations.Open(
        path, GENERIC_WRITE, disposition == OPEN_EXISTING ? FILE_SHARE_READ : 0, disposition));
    if (!file) {
        return GetLastError();
    }
    return WriteWhole(operations, file.get(), bytes) ? ERROR_SUCCESS : GetLastError();
}

// The file takes the temporary's place; ReplaceFileW gives the new file the old one's
// attributes, security and streams. With a backup name, no failure loses the old file.
DWORD ReplaceWithTemporary(FileOperations& operations, const std::wstring& path,
                           std::string_view bytes) {
    SaveFile temporary(operations, path, SaveFileKind::Temporary);
    SaveFile backup(operations, path, SaveFileKind::Backup);
    if (const DWORD error = WriteFileBytes(operations, temporary.Path(), CREATE_ALWAYS, bytes)) {
        return error;
    }
    if (RetryWhileShared(
            [&] { return operations.Replace(path, temporary.Path(), backup.Path()); })) {
        temporary.Keep();
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    // The old file was moved to the backup but the new one could not take its place. Should
    // the old one not go back either, both stay: the next start or save puts the backup back.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && !operations.Move(backup.Path(), path)) {
        backup.Keep();
        temporary.Keep();
    }
    return error;
}

// Writes the bytes under the temporary name, then gives them the target's, which never replaces
// a file: whatever has the target's name is whole.
DWORD CreateWhole(FileOperations& operations, const std::wstring& path, const std::wstring& target,
                  std::string_view bytes) {
    SaveFile temporary(operations, path, SaveFileKind::Temporary);
    if (const DWORD error = WriteFileBytes(operations, temporary.Path(), CREATE_ALWAYS, bytes)) {
        return error;
    }
    if (!operations.Move(temporary.Path(), target)) {
        return GetLastError();
    }
    temporary.Keep();
    return ERROR_SUCCESS;
}

// When the file cannot be replaced (another program holds it without delete sharing), its
// contents are rewritten where they are. A copy of the old bytes beside it lets a failure midway
// put them back, and the next start or save after a kill.
DWORD RewriteInPlace(FileOperations& operations, const std::wstring& path, std::string_view bytes,
                     std::string_view oldBytes) {
    SaveFile journal(operations, path, SaveFileKind::Journal);
    if (const DWORD error = CreateWhole(operations, path, journal.Path(), oldBytes)) {
        return error;
    }
    const platform::UniqueFile file(
        operations.Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
    if (!file) {
        return GetLastError();
    }
    if (WriteWhole(operations, file.get(), bytes)) {
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    if (!WriteWhole(operations, file.get(), oldBytes)) {
        const DWORD restoreError = GetLastError();
        journal.Keep();
        throw platform::Error(FileError(L"Cannot create", path, error).Message() +
                              L" Its old contents could not be put back (" +
                              platform::SystemErrorText(restoreError) + L") and are kept in \"" +
                              journal.Path() + L"\".");
    }
    return error;
}

// Whether the process may still be saving; the files of this process are an earlier save's.
bool IsRunning(DWORD processId) {
    if (processId == GetCurrentProcessId()) {
        return false;
    }
    const platform::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) {
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

struct Leftover {
    std::wstring path;
    SaveFileKind kind;
    std::uint64_t written; // FILETIME's count: below 2 to the 60th for millennia
};

// The files that saves of ended processes left beside the settings file.
std::vector<Leftover> FindLeftovers(const std::wstring& path) {
    const std::size_t nameStart = path.find_last_of(L"\\/") + 1;
    std::vector<Leftover> leftovers;
    WIN32_FIND_DATAW found{};
    const platform::FileSearch search(FindFirstFileW((path + L".*").c_str(), &found));
    for (bool more = search != nullptr; more; more = FindNextFileW(search.get(), &found)) {
        const auto name =
            ParseSaveFileName(std::wstring_view(path).substr(nameStart), found.cFileName);
        if (name && !IsRunning(name->processId)) {
            const FILETIME& written = found.ftLastWriteTime;
            leftovers.push_back(
                {path.substr(0, nameStart) + found.cFileName, name->kind,
                 std::uint64_t{written.dwHighDateTime} << 32 | written.dwLowDateTime});
        }
    }
    return leftovers;
}

// Puts the old settings back from a copy that a save left: moved when the file is gone, else
// written over the file in place (which may be half rewritten, or held by another program).
DWORD PutBack(const std::wstring& copy, const std::wstring& path, bool missing) {
    FileOperations& operations = SystemFileOperations();
    if (missing) {
        return operations.Move(copy, path) ? ERROR_SUCCESS : GetLastError();
    }
    std::string bytes;
    if (const DWORD error = ReadWholeFile(copy, FILE_SHARE_READ, bytes)) {
        return error;
    }
    if (const DWORD error = WriteFileBytes(operations, path, OPEN_EXISTING, bytes)) {
        return error;
    }
    operations.Delete(copy);
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

bool FileOperations::Delete(const std::wstring& path) {
    return DeleteFileW(path.c_str()) != FALSE;
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

DWORD RecoverSettingsFile(const std::wstring& path) {
    const std::vector<Leftover> leftovers = FindLeftovers(path);
    const bool missing = IsMissingFile(path);
    // The old settings: those of a rewrite in place, which never completes with its copy left
    // behind, else, when the file is gone, the newest that ReplaceFileW moved aside.
    const Leftover* oldSettings = nullptr;
    std::uint64_t latest = 0;
    for (const Leftover& each : leftovers) {
        const std::uint64_t rank = each.kind == SaveFileKind::Journal             ? 2
                                   : each.kind == SaveFileKind::Backup && missing ? 1
                                                                                  : 0;
        if (rank != 0 && (rank << 60 | each.written) > latest) {
            latest = rank << 60 | each.written;
            oldSettings = &each;
        }
    }
    // Nothing is removed until the old settings are back.
    if (oldSettings != nullptr) {
        if (const DWORD error = PutBack(oldSettings->path, path, missing)) {
            return error;
        }
    }
    for (const Leftover& each : leftovers) {
        if (&each != oldSettings) {
            SystemFileOperations().Delete(each.path);
        }
    }
    return ERROR_SUCCESS;
}

SettingsText ReadSettingsFile(const std::wstring& path) {
    if (const DWORD error = RecoverSettingsFile(path)) {
        ThrowCannotOpen(path, error);
    }
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
        // The first save: never over a file that another program created meanwhile.
        error = CreateWhole(operations, path, path, bytes);
    } else if (const DWORD replaceError = ReplaceWithTemporary(operations, path, bytes)) {
        // Rewritten in place while it is there; a replace that failed halfway may have left
        // it in the backup, which the next start or save puts back.
        error = IsMissingFile(path) ? replaceError
                                    : RewriteInPlace(operations, path, bytes, *contents.bytes);
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
