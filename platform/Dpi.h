#pragma once

#include "platform/Handles.h"

namespace platform {

// A window's resolution and the system's sizes at a resolution, as Windows 10 (1607) and later
// give them for each monitor. Earlier systems have one resolution for every monitor: there they
// are the system-wide values.

int WindowDpi(HWND window);
NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi);
int SystemMetricForDpi(int index, int dpi);
// The outer size of a window of that style whose client area has the size given.
SIZE WindowSizeForDpi(SIZE client, DWORD style, DWORD exStyle, int dpi);

// The module's icon at that size, scaled down from a larger image where it has one.
UniqueIcon LoadIconOfSize(HINSTANCE module, int id, int size);

} // namespace platform
