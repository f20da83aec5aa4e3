#include "platform/Dpi.h"

#include <commctrl.h>

namespace platform {
namespace {

template <class Function> Function* Find(const wchar_t* module, const char* name) {
    return reinterpret_cast<Function*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

// Looked up once: both DLLs are loaded with the program.
struct PerMonitorFunctions {
    decltype(GetDpiForWindow)* getDpiForWindow =
        Find<decltype(GetDpiForWindow)>(L"user32.dll", "GetDpiForWindow");
    decltype(SystemParametersInfoForDpi)* systemParametersInfoForDpi =
        Find<decltype(SystemParametersInfoForDpi)>(L"user32.dll", "SystemParametersInfoForDpi");
    decltype(GetSystemMetricsForDpi)* getSystemMetricsForDpi =
        Find<decltype(GetSystemMetricsForDpi)>(L"user32.dll", "GetSystemMetricsForDpi");
    decltype(AdjustWindowRectExForDpi)* adjustWindowRectExForDpi =
        Find<decltype(AdjustWindowRectExForDpi)>(L"user32.dll", "AdjustWindowRectExForDpi");
    // Version 6 of the common controls, which the manifest asks for, has it from Windows Vista on.
    decltype(LoadIconWithScaleDown)* loadIconWithScaleDown =
        Find<decltype(LoadIconWithScaleDown)>(L"comctl32.dll", "LoadIconWithScaleDown");
};

// Made as the program starts, as every object here that threads share: a static made on first
// use would bring the C++ runtime's thread-safe initialisation, and with it a thread library,
// into the executable.
const PerMonitorFunctions perMonitor;

const PerMonitorFunctions& PerMonitor() {
    return perMonitor;
}

} // namespace

int WindowDpi(HWND window) {
    if (PerMonitor().getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = PerMonitor().getDpiForWindow(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return GetDeviceCaps(AcquireDC(nullptr).get(), LOGPIXELSY);
}

NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (PerMonitor().systemParametersInfoForDpi == nullptr ||
        !PerMonitor().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics,
                                                 0, static_cast<UINT>(dpi))) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    }
    return metrics;
}

int SystemMetricForDpi(int index, int dpi) {
    return PerMonitor().getSystemMetricsForDpi != nullptr
               ? PerMonitor().getSystemMetricsForDpi(index, static_cast<UINT>(dpi))
               : GetSystemMetrics(index);
}

SIZE WindowSizeForDpi(SIZE client, DWORD style, DWORD exStyle, int dpi) {
    RECT frame{0, 0, client.cx, client.cy};
    if (PerMonitor().adjustWindowRectExForDpi == nullptr ||
        !PerMonitor().adjustWindowRectExForDpi(&frame, style, FALSE, exStyle,
                                               static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

UniqueIcon LoadIconOfSize(HINSTANCE module, int id, int size) {
    HICON icon = nullptr;
    if (PerMonitor().loadIconWithScaleDown == nullptr ||
        FAILED(
            PerMonitor().loadIconWithScaleDown(module, MAKEINTRESOURCEW(id), size, size, &icon))) {
        icon = static_cast<HICON>(
            LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    }
    return UniqueIcon(icon);
}

} // namespace platform
