#pragma once

#include <windows.h>

#include "platform/Handles.h"

#include <exception>
#include <functional>
#include <string>

namespace services {

// The application object: title, message loop with its OnMessage hook, the hidden window that
// owns the dialogs, and the program's message boxes and error report.
class Application {
public:
    explicit Application(HINSTANCE instance);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HINSTANCE Module() const { return instance_; }
    // The hidden window that owns the dialogs; nullptr should Windows refuse to make it.
    HWND Handle() const noexcept;

    // A window class of the program's module: arrow cursor, dialog background.
    void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr) const;

    const std::wstring& Title() const { return title_; }
    void SetTitle(std::wstring title);

    // The full path of the running executable, read afresh on every call.
    static std::wstring ExeName();

    // Offered every message taken from the queue before translation and dispatch; a message
    // marked handled goes no further.
    std::function<void(MSG& message, bool& handled)> OnMessage;

    // The main window, and its own handling of keys before translation (shortcuts, dialog
    // navigation); returns true when it consumed the message.
    void SetMainWindow(HWND window, std::function<bool(MSG&)> preTranslate);

    // Runs the message loop until the quit message; returns its exit code.
    int Run();

    // Brings the main window back when it is minimised.
    void Restore() const;

    // A message box owned by the program's active window and modal to the whole program; the
    // flags go to Windows unchanged.
    int ShowMessageBox(const std::wstring& text, UINT flags) const;

    // A message with one OK button and no icon, centred on the screen and sized to its text.
    void ShowPlainMessage(const std::wstring& text) const;

    // The error report: caption the title, an error icon and the error's text.
    void ShowException(const std::exception& error) const noexcept;

    // Runs an event handler; an error escaping it is shown by the error report.
    template <class Handler> void Guard(Handler&& handler) const noexcept {
        try {
            handler();
        } catch (const std::exception& error) {
            ShowException(error);
        } catch (...) {
            ShowUnknownException();
        }
    }

private:
    HWND ActiveOwner() const;
    void ShowUnknownException() const noexcept;

    platform::OleInitialization ole_;
    HINSTANCE instance_;
    mutable HWND window_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::function<bool(MSG&)> preTranslate_;
    std::wstring title_;
};

} // namespace services
