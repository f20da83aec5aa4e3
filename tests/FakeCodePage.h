#pragma once

// A two-byte ANSI code page for window-free tests, shaped like code page 932: ASCII as itself,
// a lead byte 0x81 to 0x9F with a trail byte 0x40 to 0xFC as one character; anything else (a
// lone lead byte, 0x80, 0xA0 and above, UTF-8) does not convert.

#include "settings/TextEncoding.h"

#include <optional>
#include <string>
#include <string_view>

namespace tests {

inline constexpr wchar_t FakeDoubleBase = 0x3000;

inline bool FakeIsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0x9F;
}

inline std::optional<std::wstring> FakeDecode(std::string_view bytes) {
    std::wstring text;
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        const auto lead = static_cast<unsigned char>(bytes[index]);
        if (lead < 0x80) {
            text += static_cast<wchar_t>(lead);
            continue;
        }
        const auto trail =
            index + 1 < bytes.size() ? static_cast<unsigned char>(bytes[index + 1]) : 0;
        if (!FakeIsLeadByte(lead) || trail < 0x40 || trail > 0xFC) {
            return std::nullopt;
        }
        text += static_cast<wchar_t>(FakeDoubleBase + (lead - 0x81) * 0x100 + trail);
        ++index;
    }
    return text;
}

// Characters the code page lacks become "?", as Windows' default character.
inline std::string FakeEncode(std::wstring_view text) {
    std::string bytes;
    for (wchar_t character : text) {
        const unsigned offset = static_cast<unsigned>(character) - FakeDoubleBase;
        const unsigned trail = offset & 0xFF;
        if (static_cast<unsigned>(character) < 0x80) {
            bytes += static_cast<char>(character);
        } else if (offset < 0x1F00 && trail >= 0x40 && trail <= 0xFC) {
            bytes += static_cast<char>(0x81 + (offset >> 8));
            bytes += static_cast<char>(trail);
        } else {
            bytes += '?';
        }
    }
    return bytes;
}

inline constexpr settings::AnsiCodePage FakeCodePage{FakeDecode, FakeEncode, FakeIsLeadByte};

} // namespace tests
