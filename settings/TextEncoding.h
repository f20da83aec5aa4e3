#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// The Unicode encodings that a byte-order mark announces; text without a mark is in the
// system's ANSI code page, which only Windows can convert.
enum class TextEncoding { Utf8, Utf16LE, Utf16BE };

std::optional<TextEncoding> DetectByteOrderMark(std::string_view bytes);
std::string_view ByteOrderMark(TextEncoding encoding);

// Decodes the text that follows the mark; malformed sequences become U+FFFD.
std::wstring DecodeText(std::string_view bytes, TextEncoding encoding);

// Encodes the text with its byte-order mark in front.
std::string EncodeText(std::wstring_view text, TextEncoding encoding);

// What only Windows knows of the ANSI code page: the text of bytes (none when they are no
// characters of it), the bytes of text, and the lead bytes of two-byte characters.
struct AnsiCodePage {
    std::optional<std::wstring> (*decode)(std::string_view bytes);
    std::string (*encode)(std::wstring_view text);
    bool (*isLeadByte)(unsigned char byte);
};

// Text without a mark, in the ANSI code page. Bytes that do not survive the code page (a lone
// lead byte, UTF-8 that another program wrote, a character that it writes back as other bytes)
// are kept as stand-ins that EncodeAnsi writes back as the same bytes, so other programs' lines
// survive a save whatever they hold.
std::wstring DecodeAnsi(std::string_view bytes, const AnsiCodePage& codePage);
std::string EncodeAnsi(std::wstring_view text, const AnsiCodePage& codePage);

} // namespace settings
