#include "settings/SettingsFile_win.h"

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/Win32Error.h"
#include "services/FilePath.h"
#include "services/NumberText.h"
#include "services/RunTag_win.h"

#include <sddl.h>

#include <climits>
#include <vector>

namespace settings {

namespace {

[[noreturn]] void ThrowCannotOpen(const std::wstring& path, DWORD code) {
    throw CannotOpenError(path, code);
}

// Each operation one Windows call (a whole read, a loop of them).
class WindowsStorage : public Storage {
public:
    SystemError List(const std::wstring& path, std::vector<std::wstring>& names) override {
        WIN32_FIND_DATAW found{};
        const platform::FileSearch search(
            FindFirstFileW(services::ExtendedLengthPath(path + L".*").c_str(), &found));
        if (search == nullptr) {
            return GetLastError();
        }
        do {
            names.emplace_back(found.cFileName);
        } while (FindNextFileW(search.get(), &found));
        return ERROR_SUCCESS;
    }

    SystemError Probe(const std::wstring& path, Facts& facts) override {
        // The name's own attributes (a symbolic link's), then the file it leads to, opened for
        // no access at all, which no other program's sharing refuses.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return GetLastError();
        }
        const platform::UniqueFile file(
            CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION information{};
        if (!file || !GetFileInformationByHandle(file.get(), &information)) {
            return GetLastError();
        }
        facts.id = std::uint64_t{information.nFileIndexHigh} << 32 | information.nFileIndexLow;
        facts.linked =
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || information.nNumberOfLinks > 1;
        return ERROR_SUCCESS;
    }

    SystemError Open(const std::wstring& path, unsigned access, unsigned sharing, Creation creation,
                     File& file) override {
        const DWORD dispositions[] = {CREATE_NEW, CREATE_ALWAYS, OPEN_EXISTING};
        const HANDLE opened = CreateFileW(
            path.c_str(),
            ((access & ReadAccess) != 0 ? GENERIC_READ : 0) |
                ((access & WriteAccess) != 0 ? GENERIC_WRITE : 0),
            ((sharing & ShareRead) != 0 ? FILE_SHARE_READ : 0) |
                ((sharing & ShareWrite) != 0 ? FILE_SHARE_WRITE : 0) |
                ((sharing & ShareDelete) != 0 ? FILE_SHARE_DELETE : 0),
            nullptr, dispositions[static_cast<int>(creation)], FILE_ATTRIBUTE_NORMAL, nullptr);
        file = opened == INVALID_HANDLE_VALUE ? nullptr : opened;
        return file == nullptr ? GetLastError() : ERROR_SUCCESS;
    }

    // From the start, whatever the position; a file larger than any settings file's text is
    // refused, as the ANSI conversion would refuse it.
    SystemError Read(File file, std::string& bytes) override {
        char buffer[65536];
        OVERLAPPED position{};
        for (DWORD read = 1; read != 0; position.Offset += read) {
            if (bytes.size() > INT_MAX) {
                return ERROR_FILE_TOO_LARGE;
            }
            if (!ReadFile(file, buffer, sizeof buffer, &read, &position)) {
                const DWORD error = GetLastError();
                return error == ERROR_HANDLE_EOF ? ERROR_SUCCESS : error;
            }
            bytes.append(buffer, read);
        }
        return ERROR_SUCCESS;
    }

    SystemError Write(File file, std::uint64_t offset, std::string_view bytes,
                      std::size_t& written) override {
        OVERLAPPED position{};
        position.Offset = static_cast<DWORD>(offset);
        position.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD done = 0;
        const BOOL wrote =
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, &position);
        written = done;
        return wrote ? ERROR_SUCCESS : GetLastError();
    }

    SystemError SetSize(File file, std::uint64_t size) override {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
        return SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end)
                   ? ERROR_SUCCESS
                   : GetLastError();
    }

    SystemError Flush(File file) override {
        return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
    }

    void Close(File file) override { CloseHandle(file); }

    SystemError Replace(const std::wstring& path, const std::wstring& replacement,
                        const std::wstring& backup) override {
        return ReplaceFileW(path.c_str(), replacement.c_str(), backup.c_str(), 0, nullptr, nullptr)
                   ? ERROR_SUCCESS
                   : GetLastError();
    }

    SystemError Move(const std::wstring& from, const std::wstring& to) override {
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? ERROR_SUCCESS
                                                                             : GetLastError();
    }

    SystemError Delete(const std::wstring& path) override {
        return DeleteFileW(path.c_str()) ? ERROR_SUCCESS : GetLastError();
    }

    void Pause() override { Sleep(100); }
    const services::RunTag& ThisRun() override { return services::ThisRun(); }
    bool RunHasEnded(const services::RunTag& run) override { return services::RunHasEnded(run); }
    std::wstring ErrorText(SystemError error) override { return platform::SystemErrorText(error); }
};

// Made as the program starts (see platform/Dpi.cpp).
WindowsStorage systemStorage;

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
        throw SettingsFileError(systemStorage, L"Cannot create", path, ERROR_FILE_TOO_LARGE);
    }
    return EncodeAnsi(text, SystemCodePage);
}

// The current user, elevated or not, may wait for and release the lock; nobody else may.
struct UserOnlySecurity {
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    UserOnlySecurity() {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
            return;
        }
        const platform::UniqueHandle owned(token);
        alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
        DWORD size = 0;
        wchar_t* sid = nullptr;
        if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
            ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
            const std::wstring descriptor = L"D:P(A;;GA;;;" + std::wstring(sid) + L")";
            LocalFree(sid);
            ConvertStringSecurityDescriptorToSecurityDescriptorW(
                descriptor.c_str(), SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr);
        }
    }
    ~UserOnlySecurity() { LocalFree(attributes.lpSecurityDescriptor); }
    UserOnlySecurity(const UserOnlySecurity&) = delete;
    UserOnlySecurity& operator=(const UserOnlySecurity&) = delete;
};

} // namespace

platform::Error CannotOpenError(const std::wstring& path, DWORD code) {
    return SettingsFileError(systemStorage, L"Cannot open", path, code);
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
    return SettingsReadError(systemStorage, path);
}

SettingsFileLock::SettingsFileLock(const std::wstring& path) {
    // One name for the file however its path is spelt in letter case; a session's own.
    std::wstring upper = path;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    const Fingerprint name = FingerprintOf(std::string_view(
        reinterpret_cast<const char*>(upper.data()), upper.size() * sizeof(wchar_t)));
    // Made with the default security, an elevated copy's lock would be the administrators'
    // alone, and a copy that is not elevated would save without it.
    UserOnlySecurity security;
    mutex_.reset(CreateMutexW(
        security.attributes.lpSecurityDescriptor != nullptr ? &security.attributes : nullptr, FALSE,
        (L"Local\\Tavimbo.settings." + services::HexText(name.hash, 16)).c_str()));
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
    std::optional<std::string> bytes = ReadSettingsBytes(systemStorage, path);
    if (!bytes) {
        return {};
    }
    const std::optional<TextEncoding> encoding = DetectByteOrderMark(*bytes);
    std::wstring text =
        encoding ? DecodeText(std::string_view(*bytes).substr(ByteOrderMark(*encoding).size()),
                              *encoding)
                 : FromAnsi(*bytes, path);
    return {std::move(text), encoding, std::move(bytes)};
}

void WriteSettingsFile(const std::wstring& path, const SettingsText& contents) {
    const std::string bytes = contents.encoding ? EncodeText(contents.text, *contents.encoding)
                                                : ToAnsi(contents.text, path);
    WriteSettingsBytes(systemStorage, path, contents.bytes, bytes);
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
