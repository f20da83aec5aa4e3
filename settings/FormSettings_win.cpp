#include "settings/FormSettings_win.h"

#include "platform/Win32Error.h"
#include "services/Application_win.h"
#include "services/FilePath.h"
#include "settings/SettingsFile_win.h"

#include <utility>

namespace settings {
namespace {

std::wstring SettingsPath(const std::wstring& exePath) {
    return services::ChangeFileExtension(exePath, L".ini");
}

WINDOWPLACEMENT CurrentPlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) {
        platform::ThrowLastError();
    }
    return placement;
}

Placement FromWindows(const WINDOWPLACEMENT& placement) {
    const RECT& normal = placement.rcNormalPosition;
    return {placement.flags,
            placement.showCmd,
            placement.ptMaxPosition.x,
            placement.ptMaxPosition.y,
            normal.left,
            normal.top,
            normal.right,
            normal.bottom};
}

} // namespace

FormSettings FormSettingsFile::Load(HWND window, int windowState) {
    const std::wstring path = SettingsPath(services::Application::ExeName());
    const SettingsFileLock lock(path);
    // What a killed save left is taken up first. Windows' reader takes a file that it cannot read
    // (or that another copy's save has away) for an empty one; the defaults that the window then
    // shows must not be written over what the user saved in it.
    readError_ = SettingsFileReadError(path);
    keepFile_ = readError_ != ERROR_SUCCESS;
    WINDOWPLACEMENT placement = CurrentPlacement(window);

    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const FormSettings settings =
        ReadFormSettings([&](const wchar_t* section,
                             const wchar_t* key) { return ReadProfileString(path, section, key); },
                         FromWindows(placement), windowState, workArea.right - workArea.left,
                         workArea.bottom - workArea.top, bounds.bottom - bounds.top);

    const Placement& read = settings.placement;
    placement.flags = read.flags;
    placement.ptMaxPosition = {read.maxX, read.maxY};
    placement.rcNormalPosition = {read.left, read.top, read.right, read.bottom};
    // Hidden, the window takes the rectangle that it restores to, whatever state it is shown in.
    placement.showCmd = SW_HIDE;
    if (!SetWindowPlacement(window, &placement)) {
        platform::ThrowLastError();
    }
    return settings;
}

void FormSettingsFile::Save(HWND window, bool closeQuery, bool saveStatus) {
    const WINDOWPLACEMENT placement = CurrentPlacement(window);
    const std::wstring exePath = services::Application::ExeName();
    const std::wstring path = SettingsPath(exePath);
    if (keepFile_) {
        // Reported by the first save only; later ones (after a cancelled end of session) keep
        // the file silently.
        if (const DWORD error = std::exchange(readError_, ERROR_SUCCESS)) {
            throw CannotOpenError(path, error);
        }
        return;
    }
    const FormSettings settings{FromWindows(placement),
                                IsIconic(window)   ? 1
                                : IsZoomed(window) ? 2
                                                   : 0,
                                closeQuery, saveStatus};
    UpdateSettingsFile(path, [&](std::wstring& text) {
        IniFile file = IniFile::Parse(text);
        SYSTEMTIME now{};
        GetLocalTime(&now);
        WriteFormSettings(file, settings, exePath, DateTimeText(now));
        text = file.Text();
    });
}

} // namespace settings
