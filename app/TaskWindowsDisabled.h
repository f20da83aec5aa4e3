#pragma once

#include <windows.h>

#include <vector>

namespace app {

// Disables the thread's other visible windows while a modal box is open, and enables them
// again afterwards, as application-modal boxes do.
class TaskWindowsDisabled {
public:
    explicit TaskWindowsDisabled(HWND owner);
    ~TaskWindowsDisabled();
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self) noexcept;

    HWND owner_;
    std::vector<HWND> windows_;
};

} // namespace app
