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

// What the thread of one write shares with its waiter.
struct ShortcutWrite {
    std::wstring folder;
    std::wstring target;
    std::function<long(const std::wstring&, const std::wstring&)> step;
    std::wstring temporary;
    long result = E_FAIL;

    void Run() {
        // A name no other file has, made by creating the file: never one of the user's.
        wchar_t name[MAX_PATH]{};
        if (GetTempFileNameW(folder.c_str(), L"tav", 0, name) == 0) {
            result = HRESULT_FROM_WIN32(GetLastError());
            return;
        }
        temporary = name;
        result = step(target, temporary);
    }
    void RemoveTemporary() const {
        if (!temporary.empty()) {
            DeleteFileW(temporary.c_str());
        }
    }
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
        return DeleteFileW(shortcutPath.c_str()) != FALSE;
    }
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
    return platform::ShellLink().SaveTarget(targetPath, path, [&](const std::wstring& stored) {
        return services::NamesSameTarget(targetPath, stored, LongForm);
    });
}

long WriteShortcutFile(
    const std::wstring& targetPath, const std::wstring& shortcutPath,
    const std::function<long(const std::wstring& target, const std::wstring& path)>& step,
    DWORD bound) {
    // The shell queries the target, which may be on a server that does not answer for as long
    // as the network waits: the window is not held for that.
    const auto write = std::make_shared<ShortcutWrite>();
    write->folder = services::ExtractFilePath(shortcutPath);
    write->target = targetPath;
    write->step = step;
    bool answered = false;
    try {
        answered = services::RunWithinBound([write] { write->Run(); },
                                            [write] { write->RemoveTemporary(); }, bound);
    } catch (...) {
        write->RemoveTemporary();
        throw;
    }
    if (!answered) {
        return WriteNoAnswer;
    }
    if (write->result == S_OK &&
        MoveFileExW(write->temporary.c_str(), shortcutPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return S_OK;
    }
    const long failed = write->result == S_OK ? HRESULT_FROM_WIN32(GetLastError()) : write->result;
    write->RemoveTemporary();
    return failed;
}

void ToggleShortcut(const services::Application& application, ShortcutState& state,
                    const ShortcutFolder& folder, std::wstring targetPath) {
    const ToggleRequest request{GetSpecialFolderPath(folder.id), std::wstring(folder.label),
                                std::move(targetPath), services::Application::ExeName(),
                                application.Title()};
    WindowsEnvironment environment(application);
    RunToggle(request, environment, state.LastShortcutPath);
}

} // namespace shortcuts
