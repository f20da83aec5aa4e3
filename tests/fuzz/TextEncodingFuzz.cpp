// The text encodings against the C library's own converter (iconv): it accepts exactly the
// well-formed input, and there both must decode alike; malformed input must come back changed
// (U+FFFD in place of what was wrong), and any text must encode to well-formed bytes. Bytes
// without a mark, in a two-byte code page, come back as themselves whatever they hold.

#include "tests/fuzz/FuzzTarget.h"

#include "settings/TextEncoding.h"
#include "tests/FakeCodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

using fuzz::Require;
using settings::TextEncoding;

const char* IconvName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf16LE:
        return "UTF-16LE";
    case TextEncoding::Utf16BE:
        return "UTF-16BE";
    }
    return "";
}

// The code points iconv reads from the bytes, or nothing when it finds them malformed.
std::optional<std::u32string> IconvDecode(std::string_view bytes, TextEncoding encoding) {
    static iconv_t converters[3] = {iconv_open("UTF-32LE", IconvName(TextEncoding::Utf8)),
                                    iconv_open("UTF-32LE", IconvName(TextEncoding::Utf16LE)),
                                    iconv_open("UTF-32LE", IconvName(TextEncoding::Utf16BE))};
    iconv_t converter = converters[static_cast<int>(encoding)];
    Require(converter != reinterpret_cast<iconv_t>(-1), "iconv does not know the encoding");
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string input(bytes);
    std::u32string output(bytes.size() + 1, U'\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = reinterpret_cast<char*>(output.data());
    std::size_t outLeft = output.size() * sizeof(char32_t);
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft / sizeof(char32_t));
    return output;
}

std::u32string CodePoints(const std::wstring& text) {
    std::u32string points;
    for (wchar_t unit : text) {
        points += static_cast<char32_t>(unit);
    }
    return points;
}

void CheckDecoding(std::string_view bytes, TextEncoding encoding) {
    const std::wstring text = settings::DecodeText(bytes, encoding);
    const std::string again =
        settings::EncodeText(text, encoding).substr(settings::ByteOrderMark(encoding).size());
    const std::optional<std::u32string> expected = IconvDecode(bytes, encoding);
    if (expected) {
        Require(CodePoints(text) == *expected, "well-formed text decodes unlike iconv");
        Require(again == bytes, "well-formed text does not round-trip");
    } else if (encoding == TextEncoding::Utf8) {
        Require(again != bytes, "malformed UTF-8 comes back unchanged");
        Require(text.find(L'\xFFFD') != std::wstring::npos,
                "malformed UTF-8 decodes without U+FFFD");
    } else if (bytes.size() % 2 == 0) {
        // A lone surrogate is kept as it is, so that the settings file keeps any name.
        Require(again == bytes, "UTF-16 with a lone surrogate does not round-trip");
    } else {
        Require(text.ends_with(L'\xFFFD') &&
                    text.substr(0, text.size() - 1) ==
                        settings::DecodeText(bytes.substr(0, bytes.size() - 1), encoding),
                "half a code unit at the end is not one U+FFFD");
    }
}

// Arbitrary text, four bytes a character, encoded and read back.
void CheckEncoding(std::string_view bytes, TextEncoding encoding) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    const std::string encoded = settings::EncodeText(text, encoding);
    Require(settings::DetectByteOrderMark(encoded) == encoding,
            "the mark is not the encoding's own");
    const std::string_view body =
        std::string_view(encoded).substr(settings::ByteOrderMark(encoding).size());
    const std::optional<std::u32string> decoded = IconvDecode(body, encoding);
    const bool hasSurrogate = std::ranges::any_of(
        CodePoints(text), [](char32_t c) { return c >= 0xD800 && c <= 0xDFFF; });
    Require(decoded.has_value() || (encoding != TextEncoding::Utf8 && hasSurrogate),
            "text encodes to malformed bytes");
    std::u32string expected = CodePoints(text);
    for (char32_t& c : expected) {
        if (c > 0x10FFFF || (encoding == TextEncoding::Utf8 && c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD;
        }
    }
    if (!hasSurrogate || encoding == TextEncoding::Utf8) {
        Require(CodePoints(settings::DecodeText(body, encoding)) == expected,
                "text does not round-trip");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    for (TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        CheckDecoding(bytes, encoding);
        CheckEncoding(bytes, encoding);
    }
    Require(settings::EncodeAnsi(settings::DecodeAnsi(bytes, tests::FakeCodePage),
                                 tests::FakeCodePage) == bytes,
            "ANSI bytes do not survive");
    return 0;
}
