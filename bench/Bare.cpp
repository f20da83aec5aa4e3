// The first yardstick of the start-up benchmark: the platform start that every Tavimbo start
// must pay for anyway, then one empty window and nothing else.
#include "bench/Yardstick.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const bench::PlatformStart start;
    // Tavimbo's design size at 96 DPI.
    const HWND window = bench::CreateMainWindow(instance, L"Bare", {280, 280});
    if (window == nullptr) {
        return 1;
    }
    return bench::ShowAndRun(window, showCommand, nullptr);
}
