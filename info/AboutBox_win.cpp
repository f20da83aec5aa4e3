#include "info/AboutBox_win.h"

#include "info/AboutBox.h"
#include "info/UkraineClock_win.h"
#include "platform/Dpi.h"
#include "platform/SystemLibrary.h"
#include "services/ModalGuard_win.h"
#include "services/NumberText.h"
#include "services/Random.h"

#include <winver.h>

#include <algorithm>
#include <vector>

namespace info {
namespace {

// Control ids as in Windows' own message boxes.
constexpr int IconId = 20;
constexpr int TextId = 0xFFFF;

// An empty dialog frame: no system menu, so no title-bar buttons. The controls are created
// once the frame exists, sized to the text.
struct alignas(4) AboutTemplate {
    DLGTEMPLATE header{WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 0, 0, 0, 0};
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
};

struct AboutBox {
    const services::Application& application;
    HWND mainWindow;
    std::wstring text;
    platform::UniqueFont font;
    platform::UniqueIcon icon;
    HWND button = nullptr;
};

// The font's average character width, measured over the alphabet as dialogs do.
int AverageCharWidth(HDC context) {
    SIZE alphabet{};
    constexpr wchar_t Letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32W(context, Letters, 52, &alphabet);
    return (alphabet.cx / 26 + 1) / 2;
}

void Place(HWND window, const Placement& placement) {
    SetWindowPos(window, nullptr, placement.left, placement.top, placement.width, placement.height,
                 SWP_NOZORDER);
}

HWND CreateChild(HWND dialog, const wchar_t* windowClass, const wchar_t* text, DWORD style, int id,
                 HFONT font) {
    const HWND child = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                                       0, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

// poOwnerFormCenter: the box belongs to the application, so it is centred over the main
// window, kept within that window's monitor.
void CenterOverMainWindow(HWND dialog, HWND mainWindow, SIZE size) {
    RECT owner{};
    GetWindowRect(mainWindow, &owner);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const LONG left = owner.left + (owner.right - owner.left - size.cx) / 2;
    const LONG top = owner.top + (owner.bottom - owner.top - size.cy) / 2;
    SetWindowPos(dialog, nullptr,
                 std::clamp(left, work.left, std::max(work.left, work.right - size.cx)),
                 std::clamp(top, work.top, std::max(work.top, work.bottom - size.cy)), size.cx,
                 size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Makes the font, icon and controls for the resolution, sized to the text, in place of any made
// before; the window's outer size.
SIZE LayOutAboutBox(HWND dialog, AboutBox& box, int dpi) {
    while (const HWND child = GetWindow(dialog, GW_CHILD)) {
        DestroyWindow(child);
    }
    const NONCLIENTMETRICSW metrics = platform::NonClientMetricsForDpi(dpi);
    box.font.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    const auto font = static_cast<HFONT>(box.font.get());
    const int iconSize = platform::SystemMetricForDpi(SM_CXICON, dpi);
    box.icon = platform::LoadIconOfSize(GetModuleHandleW(nullptr), 1, iconSize);

    // Lines wider than half the screen wrap, as in a standard message window.
    RECT textRect{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    TEXTMETRICW textMetrics{};
    int averageCharWidth = 0;
    {
        const platform::WindowDC context = platform::AcquireDC(dialog);
        const platform::SelectedObject selected = platform::Select(context.get(), font);
        DrawTextW(context.get(), box.text.c_str(), -1, &textRect,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        GetTextMetricsW(context.get(), &textMetrics);
        averageCharWidth = AverageCharWidth(context.get());
    }
    const AboutLayout layout = LayOutAbout(textRect.right, textRect.bottom, iconSize,
                                           averageCharWidth, textMetrics.tmHeight);

    const HWND icon = CreateChild(dialog, L"Static", nullptr, SS_ICON, IconId, font);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(box.icon.get()), 0);
    Place(icon, layout.icon);
    Place(CreateChild(dialog, L"Static", box.text.c_str(), SS_LEFT | SS_NOPREFIX, TextId, font),
          layout.text);
    box.button = CreateChild(dialog, L"Button", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, font);
    Place(box.button, layout.button);
    SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
    return platform::WindowSizeForDpi({layout.clientWidth, layout.clientHeight},
                                      static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)),
                                      static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)),
                                      dpi);
}

void BuildAboutBox(HWND dialog, AboutBox& box) {
    SetWindowTextW(dialog, box.application.Title().c_str());
    // Made for the main window's monitor, where it is centred; a move to another monitor makes
    // it again for that one.
    CenterOverMainWindow(dialog, box.mainWindow,
                         LayOutAboutBox(dialog, box, platform::WindowDpi(box.mainWindow)));
    SetFocus(box.button);
}

// The box has moved to a monitor at another resolution: made again for it, where Windows
// suggests. The dialog's own scaling would move the controls but keep the font.
void RebuildAboutBox(HWND dialog, AboutBox& box, int dpi, const RECT& suggested) {
    const SIZE size = LayOutAboutBox(dialog, box, dpi);
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetFocus(box.button);
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* box = reinterpret_cast<AboutBox*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        box = reinterpret_cast<AboutBox*>(lParam);
        box->application.Guard([&] { BuildAboutBox(dialog, *box); });
        return FALSE; // the focus is set
    case WM_DPICHANGED:
        if (box != nullptr) {
            box->application.Guard([&] {
                RebuildAboutBox(dialog, *box, HIWORD(wParam),
                                *reinterpret_cast<const RECT*>(lParam));
            });
        }
        return TRUE;
    case WM_ERASEBKGND:
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE); // the paint covers all of it
        return TRUE;
    case WM_PAINT:
        AboutBoxPaint(dialog);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        // The label and the icon let the gradient show through.
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    case WM_SETCURSOR:
        if (box != nullptr && reinterpret_cast<HWND>(wParam) == box->button &&
            LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND:
        // The one button is default and cancel at once: Enter and Esc both close.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::wstring GetFileVersionText(const std::wstring& path) {
    const platform::SystemLibrary version(L"version.dll");
    const auto getSize = version.Get<decltype(GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
    const auto getInfo = version.Get<decltype(GetFileVersionInfoW)>("GetFileVersionInfoW");
    const auto queryValue = version.Get<decltype(VerQueryValueW)>("VerQueryValueW");

    DWORD ignored = 0;
    const DWORD size = getSize(path.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<unsigned char> buffer(size);
    void* value = nullptr;
    UINT length = 0;
    if (!getInfo(path.c_str(), 0, size, buffer.data()) ||
        !queryValue(buffer.data(), L"\\", &value, &length) || value == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    return services::NumberText(HIWORD(fixed->dwFileVersionMS)) + L"." +
           services::NumberText(LOWORD(fixed->dwFileVersionMS)) + L"." +
           services::NumberText(HIWORD(fixed->dwFileVersionLS)) + L"." +
           services::NumberText(LOWORD(fixed->dwFileVersionLS));
}

void AboutBoxPaint(HWND sender) {
    PAINTSTRUCT paint{};
    const HDC canvas = BeginPaint(sender, &paint);
    RECT client{};
    GetClientRect(sender, &client);
    const Gradient gradient = GradientFor(services::RandomBelow(0xFFFFFF));
    TRIVERTEX corners[2] = {
        {client.left, client.top, gradient.from.red, gradient.from.green, gradient.from.blue, 0},
        {client.right, client.bottom, gradient.to.red, gradient.to.green, gradient.to.blue, 0},
    };
    GRADIENT_RECT rectangle{0, 1};
    // GdiGradientFill is gdi32's own; msimg32's GradientFill would be a DLL the program's
    // folder could supply.
    GdiGradientFill(canvas, corners, 2, &rectangle, 1,
                    gradient.horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    EndPaint(sender, &paint);
}

void ShowAboutBox(const services::Application& application, HWND mainWindow) {
    AboutFacts facts;
    facts.title = application.Title();
    facts.exePath = services::Application::ExeName();
    facts.fileVersion = GetFileVersionText(facts.exePath);
    facts.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    facts.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    facts.clockText = UkraineTimeText();

    AboutBox box{application, mainWindow, AboutText(facts), {}, nullptr};
    AboutTemplate frame;
    const services::ModalGuard modal(mainWindow);
    DialogBoxIndirectParamW(application.Module(), &frame.header, mainWindow, AboutBoxProc,
                            reinterpret_cast<LPARAM>(&box));
}

} // namespace info
