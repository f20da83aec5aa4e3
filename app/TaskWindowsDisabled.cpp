#include "app/TaskWindowsDisabled.h"

namespace app {

TaskWindowsDisabled::TaskWindowsDisabled(HWND owner) : owner_(owner) {
    EnumThreadWindows(GetCurrentThreadId(), &TaskWindowsDisabled::Collect,
                      reinterpret_cast<LPARAM>(this));
    for (HWND window : windows_) {
        EnableWindow(window, FALSE);
    }
}

TaskWindowsDisabled::~TaskWindowsDisabled() {
    for (HWND window : windows_) {
        if (IsWindow(window)) {
            EnableWindow(window, TRUE);
        }
    }
}

BOOL CALLBACK TaskWindowsDisabled::Collect(HWND window, LPARAM self) noexcept {
    auto* disabled = reinterpret_cast<TaskWindowsDisabled*>(self);
    // The owner is disabled by the box itself, which enables it again before it goes away, so
    // that the owner gets the activation back.
    if (window != disabled->owner_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
        disabled->windows_.push_back(window);
    }
    return TRUE;
}

} // namespace app
