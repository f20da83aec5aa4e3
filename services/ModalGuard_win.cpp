#include "services/ModalGuard_win.h"

namespace services {

ModalGuard::ModalGuard(HWND owner) : active_(GetActiveWindow()), owner_(owner) {
    // The owner is left alone: the box disables it itself and enables it again before it goes
    // away, so that the owner gets the activation back.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM self) noexcept -> BOOL {
            auto* guard = reinterpret_cast<ModalGuard*>(self);
            if (window != guard->owner_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
                guard->windows_.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
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

} // namespace services
