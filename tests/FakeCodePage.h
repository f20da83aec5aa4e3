#pragma once

// A two-byte ANSI code page for window-free tests, shaped like code page 932: ASCII as itself, a
// lead byte 0x81 to 0x9F with a trail byte from 0x40 as the character of that number, except
// that 0x8790 to 0x879C read as the characters of 0x8190 to 0x819C, which write back as those
// (as code page 932's NEC duplicates do); anything else (a lone lead byte, 0x80, 0xA0 and
// above, UTF-8) does not convert.

#include "settings/TextEncoding.h"

namespace tests {

inline bool FakeIsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0x9F;
}

inline std::optional<std::wstring> FakeDecode(std::string_view bytes) {
    std::wstring text;
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        const unsigned lead = static_cast<unsigned char>(bytes[index]);
        const unsigned trail =
            index + 1 < bytes.size() ? static_cast<unsigned char>(bytes[index + 1]) : 0;
        if (lead >= 0x80 && (!FakeIsLeadByte(static_cast<unsigned char>(lead)) || trail < 0x40)) {
            return std::nullopt;
        }
        const bool duplicate = lead == 0x87 && trail >= 0x90 && trail <= 0x9C;
        text += static_cast<wchar_t>(lead < 0x80 ? lead : (duplicate ? 0x81 : lead) << 8 | trail);
        index += lead < 0x80 ? 0 : 1;
    }
    return text;
}

// Characters the code page lacks become "?", as Windows' default character.
inline std::string FakeEncode(std::wstring_view text) {
    std::string bytes;
    for (const wchar_t character : text) {
        const auto lead = static_cast<unsigned>(character) >> 8, trail = character & 0xFFu;
        if (character < 0x80) {
            bytes += static_cast<char>(character);
        } else if (lead >= 0x81 && lead <= 0x9F && trail >= 0x40) {
            bytes += {static_cast<char>(lead), static_cast<char>(trail)};
        } else {
            bytes += '?';
        }
    }
    return bytes;
}

inline constexpr settings::AnsiCodePage FakeCodePage{FakeDecode, FakeEncode, FakeIsLeadByte};

} // namespace tests
