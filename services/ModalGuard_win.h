#pragma once

#include <windows.h>

#include <vector>

namespace services {

// Makes a box or dialog modal to the whole program while it lives: the thread's other visible
// windows are disabled, then enabled again, and the window that was active before is active
// again afterwards. While one is open, the main window starts no other command.
class ModalGuard {
public:
    // The box is to be owned by owner.
    explicit ModalGuard(HWND owner);
    ~ModalGuard();
    ModalGuard(const ModalGuard&) = delete;
    ModalGuard& operator=(const ModalGuard&) = delete;

    HWND Owner() const { return owner_; }

    static bool AnyOpen() { return open_ > 0; }

private:
    static inline int open_ = 0;
    HWND active_;
    HWND owner_;
    std::vector<HWND> windows_;
};

} // namespace services
