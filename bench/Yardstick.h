#pragma once

#include "platform/Handles.h"

// What the benchmark's yardsticks share with every Tavimbo start: the platform start, one window
// of Tavimbo's size and the message loop.
namespace bench {

// Only DLLs from System32, the common controls, OLE and COM, in Tavimbo's order.
class PlatformStart {
public:
    PlatformStart() = default;

private:
    struct SystemFolderAndControls {
        SystemFolderAndControls();
    } first_;
    platform::OleInitialization ole_;
    platform::ComInitialization com_;
};

// An empty top-level window of the size given, where Windows puts it; null when it cannot be
// made.
HWND CreateMainWindow(HINSTANCE instance, const wchar_t* title, SIZE size);

// Shows the window, puts the focus on the control given (if any) and runs the message loop
// until the window is closed; the loop's exit code.
int ShowAndRun(HWND window, int showCommand, HWND focus);

} // namespace bench
