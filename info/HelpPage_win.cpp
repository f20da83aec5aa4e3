#include "info/HelpPage_win.h"

#include "services/FilePath.h"
#include "info/HelpPage.h"
#include "services/AppInfo.h"
#include "platform/Handles.h"

namespace info {
namespace {

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        // A symbolic link counts only when its target can be opened.
        const platform::UniqueFile file(
            CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, 0, nullptr));
        return static_cast<bool>(file);
    }
    return true;
}

// The result is not examined: what the shell cannot open, it reports itself.
void OpenWithShell(HWND owner, const std::wstring& target) {
    ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

SHELLEXECUTEINFOW FilePropertiesRequest(HWND owner, const std::wstring& path) {
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hwnd = owner;
    request.lpVerb = L"properties";
    request.lpFile = path.c_str();
    return request;
}

bool ShowFileProperties(HWND mainWindow, const std::wstring& path) {
    SetWindowPos(mainWindow, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SHELLEXECUTEINFOW request = FilePropertiesRequest(mainWindow, path);
    const bool shown = ShellExecuteExW(&request) != FALSE;
    const platform::UniqueHandle process(request.hProcess);
    return shown;
}

void ShowHelp(const services::Application& application, HWND owner) {
    const std::wstring exePath = services::Application::ExeName();
    if (const auto helpFile = FindHelpFile(exePath, IsExistingFile)) {
        OpenWithShell(owner, services::Quoted(*helpFile));
    } else {
        application.ShowPlainMessage(HelpFileNotFoundText(exePath));
    }
}

void OpenHomePage(HWND owner) {
    OpenWithShell(owner, std::wstring(services::HomePageUrl));
}

void OpenDonationPage(HWND owner) {
    OpenWithShell(owner, std::wstring(services::HomePageUrl) + L"software/index3.html");
}

} // namespace info
