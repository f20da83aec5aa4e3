#include "app/Unit1.h"

#include "platform/ShellLink.h"
#include "shortcuts/ShellHelpers.h"
#include "shortcuts/ShortcutToggle.h"

namespace {

class WindowsEnvironment final : public shortcuts::ToggleEnvironment {
public:
    explicit WindowsEnvironment(const app::Application& application) : application_(application) {}

    bool FileExists(const std::wstring& path) override { return ::FileExists(path); }
    long WriteShortcut(const std::wstring& targetPath, const std::wstring& shortcutPath) override {
        return platform::ShellLink().SaveTarget(targetPath, shortcutPath);
    }
    bool DeleteShortcut(const std::wstring& shortcutPath) override {
        return DeleteFileW(shortcutPath.c_str()) != FALSE;
    }
    int Ask(const std::wstring& question, unsigned flags) override {
        return application_.ShowMessageBox(question, flags);
    }
    void Tell(const std::wstring& message) override { application_.ShowPlainMessage(message); }
    void ShowInExplorer(const std::wstring& path) override { ::ShowInExplorer(path); }

private:
    const app::Application& application_;
};

} // namespace

void TForm1::ToggleShortcut(int folder, std::wstring folderLabel, std::wstring targetPath) {
    const shortcuts::ToggleRequest request{GetSpecialFolderPath(folder), std::move(folderLabel),
                                           std::move(targetPath), app::Application::ExeName(),
                                           application_.Title()};
    WindowsEnvironment environment(application_);
    shortcuts::RunToggle(request, environment, LastShortcutPath);
}
