#include "shortcuts/ShortcutToggle_win.h"

#include "platform/ShellLink.h"
#include "services/BoundedWork_win.h"
#include "services/FilePath.h"
#include "shortcuts/ShellHelpers_win.h"

#include <memory>

namespace shortcuts {
namespace {

// The form a target is compared in: full (Windows' separators, no "." or ".."), long names.
std::wstring LongForm(const std::wstring& path) {
    return GetLongPath(platform::FullPath(path));
}

bool SameTarget(const std::wstring& given, const std::wstring& stored) {
    return services::NamesSameTarget(given, stored, LongForm);
}

// One write: its thread writes the temporary, its waiter makes it the shortcut.
class ShortcutWrite final : public services::BoundedRun {
public:
    ShortcutWrite(std::wstring folder, std::wstring target, ShortcutWriteStep* step)
        : folder_(std::move(folder)), target_(std::move(target)), step_(step) {}

    void Run() {
        // A name no other file has, made by creating the file: never one of the user's.
        wchar_t name[MAX_PATH]{};
        if (GetTempFileNameW(folder_.c_str(), L"tav", 0, name) != 0) {
            temporary_ = name;
            result_ = step_(target_, temporary_);
        }
    }
    void Abandon() const noexcept { DeleteFileW(temporary_.c_str()); }

    // Once the thread has ended: the temporary becomes the shortcut if it holds the target.
    long Replace(const std::wstring& shortcutPath) const {
        if (result_ == S_OK &&
            MoveFileExW(temporary_.c_str(), shortcutPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return S_OK;
        }
        Abandon();
        return result_ == S_OK ? E_FAIL : result_;
    }

private:
    std::wstring folder_;
    std::wstring target_;
    ShortcutWriteStep* step_;
    std::wstring temporary_; // empty until made, a name no file has
    long result_ = E_FAIL;
};

class WindowsEnvironment final : public ToggleEnvironment {
public:
    explicit WindowsEnvironment(const services::Application& application)
        : application_(application) {}

    bool FileExists(const std::wstring& path) override { return shortcuts::FileExists(path); }
    long WriteShortcut(const std::wstring& targetPath, const std::wstring& shortcutPath) override {
        return WriteShortcutFile(targetPath, shortcutPath);
    }
    bool DeleteShortcut(const std::wstring& shortcutPath) override {
        return DeleteFileW(services::ExtendedLengthPath(shortcutPath).c_str()) != FALSE;
    }
    bool MakeFolder(const std::wstring& path) override { return shortcuts::MakeFolder(path); }
    int Ask(const std::wstring& question, unsigned flags) override {
        return application_.ShowMessageBox(question, flags);
    }
    void Tell(const std::wstring& message) override { application_.ShowPlainMessage(message); }
    void ShowInExplorer(const std::wstring& path) override { shortcuts::ShowInExplorer(path); }

private:
    const services::Application& application_;
};

} // namespace

long SaveAndReadBack(const std::wstring& targetPath, const std::wstring& path) {
    return platform::ShellLink().SaveTarget(targetPath, path, SameTarget);
}

long WriteShortcutFile(const std::wstring& targetPath, const std::wstring& shortcutPath,
                       ShortcutWriteStep* step, DWORD bound) {
    // The shell queries the target, which may be on a server that does not answer for as long
    // as the network waits: the window is not held for that.
    auto write = std::make_unique<ShortcutWrite>(
        std::wstring(services::ExtractFilePath(shortcutPath)), targetPath, step);
    if (!services::RunWithinBound(write, bound)) {
        return WriteNoAnswer;
    }
    return write->Replace(shortcutPath);
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
