#include "app/ModalGuard.h"

namespace app {

ModalGuard::ModalGuard(HWND owner) : active_(GetActiveWindow()), owner_(owner) {
    EnumThreadWindows(GetCurrentThreadId(), &ModalGuard::Collect, reinterpret_cast<LPARAM>(this));
    for (HWND window : windows_) {
        EnableWindow(window, FALSE);
    }
    ++open_;
}

ModalGuard::~ModalGuard() {
    --open_;
    for (HWND window : windows_) {
        if (IsWindow(window)) {
            EnableWindow(window, TRUE);
        }
    }
    if (active_ != nullptr && IsWindow(active_)) {
        SetActiveWindow(active_);
    }
}

BOOL CALLBACK ModalGuard::Collect(HWND window, LPARAM self) noexcept {
    auto* guard = reinterpret_cast<ModalGuard*>(self);
    // The owner is disabled by the box itself, which enables it again before it goes away, so
    // that the owner gets the activation back.
    if (window != guard->owner_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
        guard->windows_.push_back(window);
    }
    return TRUE;
}

} // namespace app
