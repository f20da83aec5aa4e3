#include "app/Layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace app {
namespace {

// Offset of edge `index` along a length divided by percentages.
int Edge(int length, std::span<const double> percentages, int index) {
    const double total = std::accumulate(percentages.begin(), percentages.end(), 0.0);
    if (total <= 0.0) {
        return 0;
    }
    const double before = std::accumulate(percentages.begin(), percentages.begin() + index, 0.0);
    return static_cast<int>(std::lround(length * before / total));
}

} // namespace

int Scale(int length, int dpi) {
    const std::int64_t product = static_cast<std::int64_t>(length) * dpi;
    const std::int64_t half = product >= 0 ? 48 : -48;
    return static_cast<int>((product + half) / 96);
}

Size PlacedSize(const Rect& saved, Size minimum, int dpi) {
    // The file's numbers are not checked: a side may be negative, or too long for an int.
    auto side = [](int from, int to, int least) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{to} - from, least, INT_MAX));
    };
    return {side(saved.left, saved.right, Scale(minimum.width, dpi)),
            side(saved.top, saved.bottom, Scale(minimum.height, dpi))};
}

int TabWidth(int clientWidth, int pageCount) {
    return clientWidth / (pageCount + 1);
}

Rect Inset(const Rect& rect, int left, int top, int right, int bottom) {
    return {rect.left + left, rect.top + top, rect.right - right, rect.bottom - bottom};
}

Rect GridCell(const Rect& area, std::span<const double> columns, std::span<const double> rows,
              int column, int row) {
    return {area.left + Edge(area.Width(), columns, column),
            area.top + Edge(area.Height(), rows, row),
            area.left + Edge(area.Width(), columns, column + 1),
            area.top + Edge(area.Height(), rows, row + 1)};
}

} // namespace app
