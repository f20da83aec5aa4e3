#include "services/Application_win.h"

#include "services/ErrorText.h"
#include "services/ModalGuard_win.h"
#include "platform/Error.h"
#include "platform/Win32Error.h"

#include <commctrl.h>

namespace services {
namespace {

constexpr wchar_t ApplicationWindowClass[] = L"TavimboApplication";

std::wstring Widen(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

using TaskDialogIndirectFunction = HRESULT WINAPI(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

} // namespace

Application::Application(HINSTANCE instance) : instance_(instance) {
    RegisterWindowClass(ApplicationWindowClass, DefWindowProcW);
}

Application::~Application() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

HWND Application::Handle() const noexcept {
    // Made when a dialog or a box first needs an owner: at the start it would be one more
    // top-level window, with its window on the display, before the main window can show.
    if (window_ == nullptr) {
        window_ = CreateWindowExW(0, ApplicationWindowClass, title_.c_str(), WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, instance_, nullptr);
    }
    return window_;
}

void Application::RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon) const {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

void Application::SetTitle(std::wstring title) {
    title_ = std::move(title);
    if (window_ != nullptr) {
        SetWindowTextW(window_, title_.c_str());
    }
}

std::wstring Application::ExeName() {
    wchar_t path[261]{};
    const DWORD length = GetModuleFileNameW(nullptr, path, 261);
    return std::wstring(path, length < 261 ? length : 260);
}

void Application::SetMainWindow(HWND window, std::function<bool(MSG&)> preTranslate) {
    mainWindow_ = window;
    preTranslate_ = std::move(preTranslate);
}

int Application::Run() {
    MSG message{};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) {
            return static_cast<int>(message.wParam);
        }
        if (result == -1) {
            platform::ThrowLastError();
        }
        bool handled = false;
        if (OnMessage) {
            Guard([&] { OnMessage(message, handled); });
        }
        if (handled || (preTranslate_ && preTranslate_(message))) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Application::Restore() const {
    if (mainWindow_ != nullptr && IsIconic(mainWindow_)) {
        ShowWindow(mainWindow_, SW_RESTORE);
    }
}

HWND Application::ActiveOwner() const {
    HWND active = GetActiveWindow();
    return active != nullptr ? active : Handle();
}

int Application::ShowMessageBox(const std::wstring& text, UINT flags) const {
    const ModalGuard modal(ActiveOwner());
    return MessageBoxW(modal.Owner(), text.c_str(), title_.c_str(), flags);
}

void Application::ShowPlainMessage(const std::wstring& text) const {
    // Task dialogs exist from Windows Vista on, with version 6 of the common controls.
    auto* taskDialogIndirect =
        reinterpret_cast<TaskDialogIndirectFunction*>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "TaskDialogIndirect")));
    if (taskDialogIndirect == nullptr) {
        ShowMessageBox(text, MB_OK);
        return;
    }
    const ModalGuard modal(ActiveOwner());
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = modal.Owner();
    config.hInstance = instance_;
    config.dwFlags = TDF_SIZE_TO_CONTENT;
    config.dwCommonButtons = TDCBF_OK_BUTTON;
    config.pszWindowTitle = title_.c_str();
    config.pszContent = text.c_str();
    taskDialogIndirect(&config, nullptr, nullptr, nullptr);
}

void Application::ShowException(const std::exception& error) const noexcept {
    try {
        const auto* own = dynamic_cast<const platform::Error*>(&error);
        const std::wstring text = own != nullptr ? own->Message() : Widen(error.what());
        ShowMessageBox(ErrorReportText(text), MB_ICONERROR);
    } catch (...) {
        // Nothing is left to report with: the box itself could not be built.
    }
}

void Application::ShowUnknownException() const noexcept {
    ShowException(platform::Error(L"Unknown error"));
}

} // namespace services
