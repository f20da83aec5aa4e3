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

std::wstring HexText(std::uint64_t value, std::size_t digits) {
    std::wstring text;
    for (std::size_t shift = digits * 4; shift != 0; shift -= 4) {
        text += L"0123456789ABCDEF"[(value >> (shift - 4)) & 0xF];
    }
    return text;
}

std::optional<std::uint64_t> ReadHexText(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 16) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (wchar_t digit : digits) {
        const int nibble = digit >= L'0' && digit <= L'9'   ? digit - L'0'
                           : digit >= L'A' && digit <= L'F' ? digit - L'A' + 10
                                                            : -1;
        if (nibble < 0) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<unsigned>(nibble);
    }
    return value;
}

} // namespace services
