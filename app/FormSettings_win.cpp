#include "app/Unit1.h"

#include "app/FilePath.h"
#include "app/SettingsFile.h"
#include "app/SettingsFile_win.h"
#include "platform/Win32Error.h"

#include <cstdint>
#include <string>
#include <utility>

namespace {

// Section and key names of the settings file; other tools may read them.
constexpr wchar_t ProgramSection[] = L"PROGRAM";
constexpr wchar_t PositionSection[] = L"POSITION";
constexpr wchar_t ModeSection[] = L"MODE";

std::wstring SettingsPath(const std::wstring& exePath) {
    return app::ChangeFileExtension(exePath, L".ini");
}

WINDOWPLACEMENT CurrentPlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) {
        platform::ThrowLastError();
    }
    return placement;
}

// Sums of values read from the file wrap around instead of overflowing.
std::int32_t WrappingSum(std::int32_t left, std::int32_t right) {
    return static_cast<std::int32_t>(std::int64_t{left} + right);
}

void SetChecked(HWND checkBox, bool checked) {
    SendMessageW(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(HWND checkBox) {
    return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

} // namespace

void TForm1::LoadSettings() {
    const std::wstring path = SettingsPath(app::Application::ExeName());
    // Settings that a killed save left in a backup alone are read from their place again. Should
    // they not go back, the backup stays for the first save, which reports why.
    app::RecoverSettingsFile(path);
    // Windows' reader takes a file that it cannot read for an empty one; the defaults that the
    // window then shows must not be written over what the user saved in it.
    settingsReadError_ = app::SettingsFileReadError(path);
    keepSettingsFile_ = settingsReadError_ != ERROR_SUCCESS;
    WINDOWPLACEMENT placement = CurrentPlacement(handle_);
    auto readInteger = [&](const wchar_t* section, const wchar_t* key, std::int32_t fallback) {
        return app::ReadInteger(app::ReadProfileString(path, section, key), fallback);
    };
    auto readBoolean = [&](const wchar_t* key) {
        return app::ReadBoolean(app::ReadProfileString(path, ModeSection, key), false);
    };

    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT bounds{};
    GetWindowRect(handle_, &bounds);
    const std::int32_t workWidth = workArea.right - workArea.left;
    const std::int32_t workHeight = workArea.bottom - workArea.top;
    const std::int32_t height = bounds.bottom - bounds.top;

    placement.flags = static_cast<UINT>(
        readInteger(PositionSection, L"Flags", static_cast<std::int32_t>(placement.flags)));
    placement.ptMaxPosition.x = readInteger(PositionSection, L"MaxX", placement.ptMaxPosition.x);
    placement.ptMaxPosition.y = readInteger(PositionSection, L"MaxY", placement.ptMaxPosition.y);
    // Top comes first: the defaults of the others are built from it.
    RECT& normal = placement.rcNormalPosition;
    normal.top = readInteger(PositionSection, L"Top", workHeight / 3);
    normal.left = readInteger(PositionSection, L"Left", (workWidth - height) / 2);
    normal.right = readInteger(PositionSection, L"Right", WrappingSum(normal.left, normal.top));
    normal.bottom = readInteger(PositionSection, L"Bottom", WrappingSum(normal.top, normal.top));
    // Hidden, the window takes the rectangle that it restores to, whatever state it is shown in.
    placement.showCmd = SW_HIDE;
    if (!SetWindowPlacement(handle_, &placement)) {
        platform::ThrowLastError();
    }

    // Only the low 8 bits name a state; one that names none shows the window normally.
    const std::int32_t state = readInteger(PositionSection, L"state", WindowState) & 0xFF;
    WindowState = state <= 2 ? state : 0;

    SetChecked(CheckBoxCloseQuery, readBoolean(L"CloseQuery"));
    SetChecked(CheckBoxSaveStatus, readBoolean(L"SaveStatus"));
}

void TForm1::SaveSettings() {
    const WINDOWPLACEMENT placement = CurrentPlacement(handle_);
    const std::wstring exePath = app::Application::ExeName();
    const std::wstring path = SettingsPath(exePath);
    if (keepSettingsFile_) {
        // Reported by the first save only; later ones (after a cancelled end of session) keep
        // the file silently.
        if (const DWORD error = std::exchange(settingsReadError_, ERROR_SUCCESS)) {
            throw app::CannotOpenError(path, error);
        }
        return;
    }
    app::SettingsText contents = app::ReadSettingsFile(path);
    app::IniFile file = app::IniFile::Parse(contents.text);

    SYSTEMTIME now{};
    GetLocalTime(&now);
    file.EraseSection(ProgramSection);
    file.WriteString(ProgramSection, L"Name", app::ExtractFileName(exePath));
    file.WriteString(ProgramSection, L"Path", app::ExtractFileDirectory(exePath));
    file.WriteString(ProgramSection, L"Version", AppVersion);
    file.WriteString(ProgramSection, L"LastClose", app::DateTimeText(now));

    file.EraseSection(PositionSection);
    file.EraseSection(ModeSection);
    if (IsChecked(CheckBoxSaveStatus)) {
        auto writeInteger = [&](const wchar_t* key, std::int32_t value) {
            file.WriteString(PositionSection, key, std::to_wstring(value));
        };
        const RECT& normal = placement.rcNormalPosition;
        writeInteger(L"Flags", static_cast<std::int32_t>(placement.flags));
        writeInteger(L"ShowCmd", static_cast<std::int32_t>(placement.showCmd));
        writeInteger(L"MaxX", placement.ptMaxPosition.x);
        writeInteger(L"MaxY", placement.ptMaxPosition.y);
        writeInteger(L"Left", normal.left);
        writeInteger(L"Top", normal.top);
        writeInteger(L"Right", normal.right);
        writeInteger(L"Bottom", normal.bottom);
        writeInteger(L"State", IsIconic(handle_) ? 1 : IsZoomed(handle_) ? 2 : 0);
        file.WriteString(ModeSection, L"CloseQuery", IsChecked(CheckBoxCloseQuery) ? L"1" : L"0");
        file.WriteString(ModeSection, L"SaveStatus", L"1");
    }

    contents.text = file.Text();
    app::WriteSettingsFile(path, contents);
}
