#include "services/NumberText.h"

#include <algorithm>

namespace services {

std::wstring NumberText(std::int64_t value) {
    // Counted as unsigned, so that the lowest number has a magnitude too.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::wstring text;
    do {
        text += static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        text += L'-';
    }
    std::reverse(text.begin(), text.end());
    return text;
}

} // namespace services
