#include "settings/SettingsFile_win.h"

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/Win32Error.h"
#include "services/FilePath.h"
#include "services/NumberText.h"
#include "services/RetryWhileShared_win.h"
#include "services/RunTag_win.h"

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

// The text of bytes that are characters of the code page, if they are.
std::optional<std::wstring> AnsiText(std::string_view bytes) {
    const int size = static_cast<int>(bytes.size());
    const int length = size == 0 ? 0
                                 : MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(),
                                                       size, nullptr, 0);
    if (length == 0 && size != 0) {
        return std::nullopt;
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length != 0) {
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
    }
    return text;
}

constexpr AnsiCodePage SystemCodePage{AnsiText, AnsiBytes, [](unsigned char byte) {
                                          return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE;
                                      }};

std::wstring FromAnsi(std::string_view bytes, const std::wstring& path) {
    if (bytes.size() > INT_MAX) {
        ThrowCannotOpen(path, ERROR_FILE_TOO_LARGE);
    }
    return DecodeAnsi(bytes, SystemCodePage);
}

std::string ToAnsi(std::wstring_view text, const std::wstring& path) {
    if (text.size() > INT_MAX) {
        ThrowCannotCreate(path, ERROR_FILE_TOO_LARGE);
    }
    return EncodeAnsi(text, SystemCodePage);
}

// One of a save's files beside the settings file, named after this run, removed unless told to
// keep it.
class SaveFile {
public:
    SaveFile(FileOperations& operations, const std::wstring& path, SaveFileKind kind,
             Fingerprint completed = {})
        : operations_(operations), path_(services::ExtendedLengthPath(SaveFilePath(
                                       path, {services::ThisRun(), kind, completed}))) {}
    ~SaveFile() {
        if (!path_.empty()) {
            services::RetryWhileShared([&] { return operations_.Delete(path_); });
        }
    }
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    const std::wstring& Path() const { return path_; }
    void Keep() { path_.clear(); }
    // Removed, or emptied where it cannot be (a program holding it, a folder where files may be
    // made but not removed): an empty copy of old settings is never put back.
    void Discard() {
        if (!services::RetryWhileShared([&] { return operations_.Delete(path_); })) {
            const platform::UniqueFile file(
                operations_.Open(path_, GENERIC_WRITE, FILE_SHARE_DELETE, OPEN_EXISTING));
            if (file) {
                operations_.SetSize(file.get(), 0);
            }
        }
        Keep();
    }

private:
    FileOperations& operations_;
    std::wstring path_;
};

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
    if (services::RetryWhileShared(
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

// Writes the bytes over the file where it is; when that fails midway, the old bytes go back.
DWORD WriteOver(FileOperations& operations, const std::wstring& path, std::string_view bytes,
                std::string_view oldBytes, SaveFile* journal) {
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
        std::wstring message = FileError(L"Cannot create", path, error).Message() +
                               L" Its old contents could not be put back (" +
                               platform::SystemErrorText(GetLastError()) + L")";
        if (journal != nullptr) {
            journal->Keep();
            message += L" and are kept in \"" + journal->Path() + L"\"";
        }
        throw platform::Error(message + L".");
    }
    return error;
}

// When the file cannot be replaced (another program holds it without delete sharing), its
// contents are rewritten where they are. A copy of the old bytes beside it, named after what the
// file holds once the rewrite completes, lets the next start or save after a kill put them back.
// Where no copy can be made (a folder where only the file may be written, a full disk), or the
// copy takes the room that the rewrite needs, the file is rewritten without one.
DWORD RewriteInPlace(FileOperations& operations, const std::wstring& path, std::string_view bytes,
                     std::string_view oldBytes) {
    if (!oldBytes.empty()) {
        SaveFile journal(operations, path, SaveFileKind::Journal, FingerprintOf(bytes));
        if (CreateWhole(operations, path, journal.Path(), oldBytes) == ERROR_SUCCESS) {
            if (WriteOver(operations, path, bytes, oldBytes, &journal) == ERROR_SUCCESS) {
                journal.Discard();
                return ERROR_SUCCESS;
            }
        } else {
            journal.Keep(); // not made: nothing of ours to remove
        }
    }
    return WriteOver(operations, path, bytes, oldBytes, nullptr);
}

struct Leftover {
    std::wstring path;
    SaveFileName name;
    std::uint64_t written; // FILETIME's count: below 2 to the 60th for millennia
    bool empty;
};

// The files that saves of ended runs of the program on this computer left beside the settings
// file; those of a run that may still be saving, or of another computer, are not among them.
std::vector<Leftover> FindLeftovers(const std::wstring& path) {
    const std::size_t nameStart = path.find_last_of(L"\\/") + 1;
    std::vector<Leftover> leftovers;
    WIN32_FIND_DATAW found{};
    const platform::FileSearch search(
        FindFirstFileW(services::ExtendedLengthPath(path + L".*").c_str(), &found));
    for (bool more = search != nullptr; more; more = FindNextFileW(search.get(), &found)) {
        const auto name =
            ParseSaveFileName(std::wstring_view(path).substr(nameStart), found.cFileName);
        if (name && (name->run == services::ThisRun() || services::RunHasEnded(name->run))) {
            const FILETIME& written = found.ftLastWriteTime;
            leftovers.push_back(
                {services::ExtendedLengthPath(path.substr(0, nameStart) + found.cFileName), *name,
                 std::uint64_t{written.dwHighDateTime} << 32 | written.dwLowDateTime,
                 found.nFileSizeHigh == 0 && found.nFileSizeLow == 0});
        }
    }
    return leftovers;
}

bool Holds(const std::wstring& path, const Fingerprint& fingerprint) {
    std::string bytes;
    return ReadWholeFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE, bytes) == ERROR_SUCCESS &&
           FingerprintOf(bytes) == fingerprint;
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
    services::RetryWhileShared([&] { return operations.Delete(copy); });
    return ERROR_SUCCESS;
}

// Made as the program starts (see platform/Dpi.cpp).
FileOperations systemOperations;

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
    return systemOperations;
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
        const SaveFileKind kind = each.name.kind;
        const std::uint64_t rank = kind == SaveFileKind::Journal && !each.empty ? 2
                                   : kind == SaveFileKind::Backup && missing    ? 1
                                                                                : 0;
        if (rank != 0 && (rank << 60 | each.written) > latest) {
            latest = rank << 60 | each.written;
            oldSettings = &each;
        }
    }
    // A rewrite that completed, whose copy could not be removed, is never undone.
    if (oldSettings != nullptr && oldSettings->name.kind == SaveFileKind::Journal && !missing &&
        Holds(path, oldSettings->name.completed)) {
        oldSettings = nullptr;
    }
    // Nothing is removed until the old settings are back.
    if (oldSettings != nullptr) {
        if (const DWORD error = PutBack(oldSettings->path, path, missing)) {
            return error;
        }
    }
    for (const Leftover& each : leftovers) {
        if (&each != oldSettings) {
            services::RetryWhileShared([&] { return SystemFileOperations().Delete(each.path); });
        }
    }
    return ERROR_SUCCESS;
}

SettingsFileLock::SettingsFileLock(const std::wstring& path) {
    // One name for the file however its path is spelt in letter case; a session's own.
    std::wstring upper = path;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    const Fingerprint name = FingerprintOf(std::string_view(
        reinterpret_cast<const char*>(upper.data()), upper.size() * sizeof(wchar_t)));
    mutex_.reset(CreateMutexW(
        nullptr, FALSE, (L"Local\\Tavimbo.settings." + services::HexText(name.hash, 16)).c_str()));
    constexpr DWORD Patience = 10000; // milliseconds
    // Abandoned by a copy that ended while saving: what it left is taken up as after a kill.
    const DWORD woken = mutex_ ? WaitForSingleObject(mutex_.get(), Patience) : WAIT_FAILED;
    owned_ = woken == WAIT_OBJECT_0 || woken == WAIT_ABANDONED;
}

SettingsFileLock::~SettingsFileLock() {
    if (owned_) {
        ReleaseMutex(mutex_.get());
    }
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
