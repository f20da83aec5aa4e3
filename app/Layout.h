#pragma once

#include <span>

namespace app {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// A length given at 96 pixels per inch, at another resolution (rounded as MulDiv does).
int Scale(int length, int dpi);

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The outer size the window takes once the saved placement has put it on its monitor: the saved
// rectangle's size, in that monitor's pixels whatever resolution the window was made at, but not
// below the minimum (given at 96 DPI) at the monitor's resolution.
Size PlacedSize(const Rect& saved, Size minimum, int dpi);

// Width of every tab: the client width divided by the page count plus one, so that the
// right-hand part of the tab strip stays empty.
int TabWidth(int clientWidth, int pageCount);

Rect Inset(const Rect& rect, int left, int top, int right, int bottom);

// The cell of a grid that divides the area by percentages. Cell edges are rounded from the
// running sums of the percentages, so cells tile the area without gaps or overlaps.
Rect GridCell(const Rect& area, std::span<const double> columns, std::span<const double> rows,
              int column, int row);

} // namespace app
