#include "settings/TextEncoding.h"

#include <algorithm>
#include <type_traits>

namespace settings {

// Written out rather than left to MultiByteToWideChar: the settings file's reader runs and is
// fuzzed without Windows, and MultiByteToWideChar has no code page for big-endian UTF-16.

namespace {

constexpr char32_t Replacement = 0xFFFD;
constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LEMark = "\xFF\xFE";
constexpr std::string_view Utf16BEMark = "\xFE\xFF";

constexpr bool IsSurrogate(char32_t value) {
    return value >= 0xD800 && value <= 0xDFFF;
}
constexpr bool IsHighSurrogate(char32_t value) {
    return value >= 0xD800 && value <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t value) {
    return value >= 0xDC00 && value <= 0xDFFF;
}

// std::wstring holds UTF-16 on Windows and UTF-32 elsewhere; these two keep the difference
// here. A lone surrogate passes through as itself, so UTF-16 text round-trips unchanged.
void AppendCodePoint(std::wstring& text, char32_t value) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (value > 0xFFFF) {
            value -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (value >> 10));
            text += static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
            return;
        }
    }
    text += static_cast<wchar_t>(value);
}

char32_t NextCodePoint(std::wstring_view text, std::size_t& index) {
    const auto unit =
        static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[index++]));
    if constexpr (sizeof(wchar_t) == 2) {
        if (IsHighSurrogate(unit) && index < text.size() &&
            IsLowSurrogate(static_cast<char32_t>(text[index]))) {
            const auto low = static_cast<char32_t>(text[index++]);
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return unit > 0x10FFFF ? Replacement : unit;
}

unsigned char Byte(std::string_view bytes, std::size_t index) {
    return static_cast<unsigned char>(bytes[index]);
}

// One UTF-8 sequence; an ill-formed one yields U+FFFD and consumes its longest valid start,
// as the Unicode standard recommends.
char32_t NextUtf8(std::string_view bytes, std::size_t& index) {
    const unsigned char lead = Byte(bytes, index++);
    if (lead < 0x80) {
        return lead;
    }
    int count = 0;
    char32_t value = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 2;
        value = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 3;
        value = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return Replacement;
    }
    for (int position = 0; position < count; ++position) {
        if (index >= bytes.size() || Byte(bytes, index) < low || Byte(bytes, index) > high) {
            return Replacement;
        }
        value = (value << 6) | (Byte(bytes, index++) & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return value;
}

void AppendUtf8(std::string& bytes, char32_t value) {
    if (IsSurrogate(value)) {
        value = Replacement;
    }
    auto append = [&](char32_t byte) { bytes += static_cast<char>(byte); };
    if (value < 0x80) {
        append(value);
    } else if (value < 0x800) {
        append(0xC0 | (value >> 6));
        append(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
        append(0xE0 | (value >> 12));
        append(0x80 | ((value >> 6) & 0x3F));
        append(0x80 | (value & 0x3F));
    } else {
        append(0xF0 | (value >> 18));
        append(0x80 | ((value >> 12) & 0x3F));
        append(0x80 | ((value >> 6) & 0x3F));
        append(0x80 | (value & 0x3F));
    }
}

void AppendUtf16Unit(std::string& bytes, char32_t unit, bool bigEndian) {
    const char first = static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF);
    const char second = static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8);
    bytes += first;
    bytes += second;
}

void AppendUtf16(std::string& bytes, char32_t value, bool bigEndian) {
    if (value > 0xFFFF) {
        value -= 0x10000;
        AppendUtf16Unit(bytes, 0xD800 + (value >> 10), bigEndian);
        AppendUtf16Unit(bytes, 0xDC00 + (value & 0x3FF), bigEndian);
    } else {
        AppendUtf16Unit(bytes, value, bigEndian);
    }
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
    auto unitAt = [&](std::size_t index) -> char32_t {
        const char32_t first = Byte(bytes, index);
        const char32_t second = Byte(bytes, index + 1);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    std::wstring text;
    text.reserve(bytes.size() / 2);
    std::size_t index = 0;
    for (; index + 1 < bytes.size(); index += 2) {
        const char32_t unit = unitAt(index);
        if (IsHighSurrogate(unit) && index + 3 < bytes.size() &&
            IsLowSurrogate(unitAt(index + 2))) {
            AppendCodePoint(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(index + 2) - 0xDC00));
            index += 2;
        } else {
            AppendCodePoint(text, unit);
        }
    }
    if (index < bytes.size()) {
        AppendCodePoint(text, Replacement); // half a code unit at the end
    }
    return text;
}

// The lone low surrogates U+DC00 to U+DCFF, which no code page decodes to, stand for the bytes
// that the ANSI code page does not carry through a round trip.
constexpr wchar_t ByteStandIn = 0xDC00;

bool IsByteStandIn(wchar_t character) {
    return character >= ByteStandIn && character <= ByteStandIn + 0xFF;
}

} // namespace

std::string_view ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return Utf8Mark;
    case TextEncoding::Utf16LE:
        return Utf16LEMark;
    case TextEncoding::Utf16BE:
        return Utf16BEMark;
    }
    return {};
}

std::optional<TextEncoding> DetectByteOrderMark(std::string_view bytes) {
    for (TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        if (bytes.starts_with(ByteOrderMark(encoding))) {
            return encoding;
        }
    }
    return std::nullopt;
}

std::wstring DecodeText(std::string_view bytes, TextEncoding encoding) {
    if (encoding != TextEncoding::Utf8) {
        return DecodeUtf16(bytes, encoding == TextEncoding::Utf16BE);
    }
    std::wstring text;
    text.reserve(bytes.size());
    for (std::size_t index = 0; index < bytes.size();) {
        AppendCodePoint(text, NextUtf8(bytes, index));
    }
    return text;
}

std::string EncodeText(std::wstring_view text, TextEncoding encoding) {
    std::string bytes(ByteOrderMark(encoding));
    bytes.reserve(bytes.size() + text.size() * 3);
    for (std::size_t index = 0; index < text.size();) {
        const char32_t value = NextCodePoint(text, index);
        if (encoding == TextEncoding::Utf8) {
            AppendUtf8(bytes, value);
        } else {
            AppendUtf16(bytes, value, encoding == TextEncoding::Utf16BE);
        }
    }
    return bytes;
}

std::wstring DecodeAnsi(std::string_view bytes, const AnsiCodePage& codePage) {
    // Only text that the code page writes back as the same bytes is taken as it reads.
    auto unchanged = [&](std::string_view part) {
        std::optional<std::wstring> text = codePage.decode(part);
        return text && codePage.encode(*text) == part ? text : std::nullopt;
    };
    if (std::optional<std::wstring> text = unchanged(bytes)) {
        return std::move(*text);
    }
    // Line by line, and character by character in a line that does not convert back: a line
    // break is never the second byte of a character. The last line may have no line break.
    std::wstring text;
    while (!bytes.empty()) {
        const std::size_t lineBreak = bytes.find('\n');
        const std::string_view line =
            lineBreak == std::string_view::npos ? bytes : bytes.substr(0, lineBreak + 1);
        if (const std::optional<std::wstring> converted = unchanged(line)) {
            text += *converted;
        } else {
            for (std::size_t index = 0; index < line.size();) {
                const auto lead = static_cast<unsigned char>(line[index]);
                const std::size_t length =
                    codePage.isLeadByte(lead) && index + 1 < line.size() ? 2 : 1;
                const std::string_view character = line.substr(index, length);
                if (const std::optional<std::wstring> read = unchanged(character)) {
                    text += *read;
                    index += length;
                    continue;
                }
                // A pair that the code page reads as one character (an NEC duplicate of code
                // page 932 that it writes back as the JIS one) stays whole: its second byte
                // may be "]" or another byte that means something on its own.
                const std::size_t kept = length == 2 && codePage.decode(character) ? 2 : 1;
                for (const char byte : character.substr(0, kept)) {
                    text += static_cast<wchar_t>(ByteStandIn + static_cast<unsigned char>(byte));
                }
                index += kept;
            }
        }
        bytes.remove_prefix(line.size());
    }
    return text;
}

std::string EncodeAnsi(std::wstring_view text, const AnsiCodePage& codePage) {
    std::string bytes;
    for (;;) {
        const std::size_t standIn = std::ranges::find_if(text, IsByteStandIn) - text.begin();
        bytes += codePage.encode(text.substr(0, standIn));
        if (standIn == text.size()) {
            return bytes;
        }
        bytes += static_cast<char>(text[standIn] - ByteStandIn);
        text.remove_prefix(standIn + 1);
    }
}

} // namespace settings
