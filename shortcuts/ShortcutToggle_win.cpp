#include "shortcuts/ShortcutToggle_win.h"

#include "platform/ShellLink.h"
#include "services/BoundedWork_win.h"
#include "services/FilePath.h"
#include "services/RetryWhileShared_win.h"
#include "services/RunTag_win.h"
#include "shortcuts/ShellHelpers_win.h"
#include "shortcuts/ShortcutFile.h"

#include <atomic>
#include <memory>
#include <vector>

namespace shortcuts {
namespace {

// The form a target is compared in: full (Windows' separators, no "." or ".."), long names.
std::wstring LongForm(const std::wstring& path) {
    return GetLongPath(platform::FullPath(path));
}

// The file system's own comparison of names, whatever the locale.
bool FileNamesEqual(std::wstring_view first, std::wstring_view second) {
    return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

// The temporaries of the writes under way: the program's end takes up those of writes given up.
struct WritesUnderWay {
    SRWLOCK lock = SRWLOCK_INIT;
    std::vector<std::wstring> temporaries;
};

// Windows' own lock: the standard library's would bring a thread library into the program.
class Locked {
public:
    explicit Locked(WritesUnderWay& writes) : writes_(writes) {
        AcquireSRWLockExclusive(&writes_.lock);
    }
    ~Locked() { ReleaseSRWLockExclusive(&writes_.lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    WritesUnderWay& writes_;
};

// Never destroyed: a write given up may end while the program's statics go. Made as the
// program starts (see platform/Dpi.cpp).
WritesUnderWay& underWay = *new WritesUnderWay;

WritesUnderWay& UnderWay() {
    return underWay;
}

void DeleteTemporary(const std::wstring& path) {
    services::RetryWhileShared([&] { return DeleteFileW(path.c_str()) != FALSE; });
}

// What writes of killed runs left in the folder: only files whose name says they are the
// program's, of a run that is over.
void TakeUpLeftovers(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const platform::FileSearch search(FindFirstFileW(
        services::ExtendedLengthPath(folder + std::wstring(TemporaryShortcutPattern)).c_str(),
        &found));
    for (bool more = static_cast<bool>(search); more;
         more = FindNextFileW(search.get(), &found) != FALSE) {
        const std::optional<services::RunTag> run = TemporaryShortcutRun(found.cFileName);
        if (run && services::RunHasEnded(*run)) {
            DeleteTemporary(services::ExtendedLengthPath(folder + found.cFileName));
        }
    }
}

// One write: its thread writes the temporary, its waiter makes it the shortcut.
class ShortcutWrite final : public services::BoundedRun {
public:
    ShortcutWrite(const std::wstring& shortcutPath, std::wstring target, ShortcutWriteStep* step)
        : folder_(services::ExtractFilePath(shortcutPath)), target_(std::move(target)), step_(step),
          temporary_(services::ExtendedLengthPath(
              folder_ + TemporaryShortcutName(services::ThisRun(), ++count_))) {
        const Locked locked(UnderWay());
        UnderWay().temporaries.push_back(temporary_);
    }
    ~ShortcutWrite() {
        WritesUnderWay& writes = UnderWay();
        const Locked locked(writes);
        std::erase(writes.temporaries, temporary_);
    }
    ShortcutWrite(const ShortcutWrite&) = delete;
    ShortcutWrite& operator=(const ShortcutWrite&) = delete;

    void Run() {
        TakeUpLeftovers(folder_);
        result_ = step_(target_, temporary_);
    }
    void Abandon() const noexcept { DeleteTemporary(temporary_); }

    // Once the thread has ended: the temporary becomes the shortcut if it holds the target.
    long Replace(const std::wstring& shortcutPath, WriteKind kind) const {
        const std::wstring destination = services::ExtendedLengthPath(shortcutPath);
        const DWORD replace = kind == WriteKind::Update ? MOVEFILE_REPLACE_EXISTING : 0;
        const auto move = [&] {
            if (MoveFileExW(temporary_.c_str(), destination.c_str(), replace)) {
                return true;
            }
            // A rename over a file that another program holds open is refused as access denied.
            if (replace != 0 && GetLastError() == ERROR_ACCESS_DENIED) {
                SetLastError(ERROR_SHARING_VIOLATION);
            }
            return false;
        };
        // Hidden only while it was not the shortcut yet.
        const auto show = [&] {
            const std::optional<DWORD> shown =
                ShownAttributes(GetFileAttributesW(destination.c_str()));
            return shown && SetFileAttributesW(destination.c_str(), *shown) != FALSE;
        };
        if (result_ == S_OK && services::RetryWhileShared(move)) {
            return services::RetryWhileShared(show) ? S_OK : E_FAIL;
        }
        Abandon();
        return result_ == S_OK ? E_FAIL : result_;
    }

private:
    // Writes of one run never share a name, one given up and still running included.
    static inline std::atomic<unsigned> count_ = 0;

    std::wstring folder_;
    std::wstring target_;
    ShortcutWriteStep* step_;
    std::wstring temporary_;
    long result_ = E_FAIL;
};

class WindowsEnvironment final : public ToggleEnvironment {
public:
    explicit WindowsEnvironment(const services::Application& application)
        : application_(application) {}

    bool FileExists(const std::wstring& path) override { return shortcuts::FileExists(path); }
    long WriteShortcut(const std::wstring& targetPath, const std::wstring& shortcutPath,
                       WriteKind kind) override {
        return WriteShortcutFile(targetPath, shortcutPath, kind);
    }
    bool DeleteShortcut(const std::wstring& shortcutPath) override {
        return DeleteFileW(services::ExtendedLengthPath(shortcutPath).c_str()) != FALSE;
    }
    bool MakeFolder(const std::wstring& path) override { return MakeTargetFolder(path); }
    int Ask(const std::wstring& question, unsigned flags) override {
        return application_.ShowMessageBox(question, flags);
    }
    void Tell(const std::wstring& message) override { application_.ShowPlainMessage(message); }
    void ShowInExplorer(const std::wstring& path) override { shortcuts::ShowInExplorer(path); }

private:
    const services::Application& application_;
};

} // namespace

bool SameTarget(const std::wstring& given, const std::wstring& stored) {
    return services::NamesSameTarget(given, stored, LongForm, FileNamesEqual);
}

long SaveAndReadBack(const std::wstring& targetPath, const std::wstring& path) {
    return platform::ShellLink().SaveTarget(targetPath, path, SameTarget);
}

long WriteShortcutFile(const std::wstring& targetPath, const std::wstring& shortcutPath,
                       WriteKind kind, ShortcutWriteStep* step, DWORD bound) {
    // The shell queries the target, which may be on a server that does not answer for as long
    // as the network waits: the window is not held for that.
    auto write = std::make_unique<ShortcutWrite>(shortcutPath, targetPath, step);
    if (!services::RunWithinBound(write, bound)) {
        return WriteNoAnswer;
    }
    return write->Replace(shortcutPath, kind);
}

bool MakeTargetFolder(const std::wstring& path, FolderMaking* make, DWORD bound) {
    return services::CallWithinBound([path, make] { return make(path); }, bound, false);
}

void EndShortcutWrites() {
    WritesUnderWay& writes = UnderWay();
    const Locked locked(writes);
    // Nothing is waited for: a write still under way holds its temporary sharing delete, so the
    // file goes once that write lets it go, at the latest as the process ends.
    for (const std::wstring& temporary : writes.temporaries) {
        DeleteFileW(temporary.c_str());
    }
}

void TakeUpEndedRunsTemporaries() {
    const LPTHREAD_START_ROUTINE takeUp = [](void*) -> DWORD {
        const platform::ComInitialization com;
        for (const ShortcutFolder& folder :
             {SendToFolder, DesktopFolder, ProgramsFolder, StartupFolder}) {
            try {
                TakeUpLeftovers(GetSpecialFolderPath(folder.id));
            } catch (...) {
                // a folder without a file-system path holds none
            }
        }
        return 0;
    };
    // Nothing waits for the thread: a folder may be on a server that does not answer.
    const platform::UniqueHandle thread(CreateThread(nullptr, 0, takeUp, nullptr, 0, nullptr));
}

void ToggleShortcut(const services::Application& application, ShortcutState& state,
                    const ShortcutFolder& folder, std::wstring targetPath, bool makeTargetFolder) {
    const ToggleRequest request{
        GetSpecialFolderPath(folder.id),  std::wstring(folder.label), std::move(targetPath),
        services::Application::ExeName(), application.Title(),        makeTargetFolder};
    WindowsEnvironment environment(application);
    RunToggle(request, environment, state.LastShortcutPath);
}

} // namespace shortcuts
