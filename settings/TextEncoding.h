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

} // namespace settings
