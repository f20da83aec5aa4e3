#include "shortcuts/ShortcutToggle_win.h"

#include "platform/ShellLink.h"
#include "services/FilePath.h"
#include "shortcuts/ShellHelpers_win.h"

namespace shortcuts {
namespace {

class WindowsEnvironment final : public ToggleEnvironment {
public:
    explicit WindowsEnvironment(const services::Application& application)
        : application_(application) {}

    bool FileExists(const std::wstring& path) override { return shortcuts::FileExists(path); }
    long WriteShortcut(const std::wstring& targetPath, const std::wstring& shortcutPath) override {
        return platform::ShellLink().SaveTarget(targetPath, shortcutPath);
    }
    bool DeleteShortcut(const std::wstring& shortcutPath) override {
        return DeleteFileW(services::ExtendedLengthPath(shortcutPath).c_str()) != FALSE;
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

void ToggleShortcut(const services::Application& application, ShortcutState& state,
                    const ShortcutFolder& folder, std::wstring targetPath) {
    const ToggleRequest request{GetSpecialFolderPath(folder.id), std::wstring(folder.label),
                                std::move(targetPath), services::Application::ExeName(),
                                application.Title()};
    WindowsEnvironment environment(application);
    RunToggle(request, environment, state.LastShortcutPath);
}

} // namespace shortcuts
