#include "app/Unit1.h"

#include "platform/ShellLink.h"
#include "shortcuts/ShellHelpers.h"
#include "shortcuts/ShortcutToggle.h"

namespace {

class WindowsShell final : public shortcuts::ToggleShell {
public:
    bool FileExists(const std::wstring& path) override { return ::FileExists(path); }
    long WriteShortcut(const std::wstring& targetPath, const std::wstring& shortcutPath) override {
        return platform::ShellLink().SaveTarget(targetPath, shortcutPath);
    }
    bool DeleteShortcut(const std::wstring& shortcutPath) override {
        return DeleteFileW(shortcutPath.c_str()) != FALSE;
    }
};

class ApplicationDialogs final : public shortcuts::ToggleDialogs {
public:
    int Ask(const std::wstring& question, unsigned flags) override {
        return app::Application::Instance().ShowMessageBox(question, flags);
    }
    void Tell(const std::wstring& message) override { app::ShowPlainMessage(message); }
    void ShowInExplorer(const std::wstring& path) override { ::ShowInExplorer(path); }
};

} // namespace

void TForm1::ToggleShortcut(int folder, std::wstring folderLabel, std::wstring targetPath) {
    const shortcuts::ToggleRequest request{GetSpecialFolderPath(folder), std::move(folderLabel),
                                           std::move(targetPath), app::Application::ExeName(),
                                           app::Application::Instance().Title()};
    WindowsShell shell;
    ApplicationDialogs dialogs;
    shortcuts::RunToggle(request, shell, dialogs, LastShortcutPath);
}
