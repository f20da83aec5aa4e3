#pragma once

// Included in every test source (tests/CMakeLists.txt): a failed assertion shows wide texts as
// readable UTF-8 rather than GoogleTest's \x65B0\x898F escapes, so that a Japanese message that
// differs by one character can be read.

#include "settings/TextEncoding.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <ostream>
#include <string>
#include <string_view>

namespace testing::internal {

// Control characters stay escaped: a missing CR of a CR LF must remain visible.
inline void PrintWideTextAsUtf8(std::wstring_view text, std::ostream* os) {
    std::wstring shown;
    for (const wchar_t c : text) {
        if (c == L'\r') {
            shown += L"\\r";
        } else if (c == L'\n') {
            shown += L"\\n";
        } else if (c == L'"' || c == L'\\') {
            shown += {L'\\', c};
        } else if (c < 0x20 || c == 0x7F) {
            wchar_t escaped[8]{};
            std::swprintf(escaped, 8, L"\\x%02X", static_cast<unsigned>(c));
            shown += escaped;
        } else {
            shown += c;
        }
    }
    const std::string utf8 = settings::EncodeText(shown, settings::TextEncoding::Utf8);
    *os << "L\"" << utf8.substr(settings::ByteOrderMark(settings::TextEncoding::Utf8).size())
        << '"';
}

template <> class UniversalPrinter<std::wstring> {
public:
    static void Print(const std::wstring& text, std::ostream* os) { PrintWideTextAsUtf8(text, os); }
};

template <> class UniversalPrinter<std::wstring_view> {
public:
    static void Print(std::wstring_view text, std::ostream* os) { PrintWideTextAsUtf8(text, os); }
};

} // namespace testing::internal
