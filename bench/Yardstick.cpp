#include "bench/Yardstick.h"

#include "services/StartTrace_win.h"

#include <commctrl.h>

namespace bench {
namespace {

constexpr wchar_t WindowClass[] = L"TavimboBenchYardstick";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

PlatformStart::SystemFolderAndControls::SystemFolderAndControls() {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

HWND CreateMainWindow(HINSTANCE instance, const wchar_t* title, SIZE size) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = WindowClass;
    RegisterClassExW(&windowClass);
    return CreateWindowExW(0, WindowClass, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr,
                           instance, nullptr);
}

int ShowAndRun(HWND window, int showCommand, HWND focus) {
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    if (focus != nullptr) {
        SetFocus(focus);
    }
    services::StartTrace("shown");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace bench
