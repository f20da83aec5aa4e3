#include "settings/SettingsFile.h"
#include "settings/TextEncoding.h"
#include "tests/FakeCodePage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace {

using namespace std::string_literals;
using settings::TextEncoding;

// The text "A送😀" in each encoding, with its mark.
const std::string Utf8Sample = "\xEF\xBB\xBF"
                               "A\xE9\x80\x81\xF0\x9F\x98\x80";
const std::string Utf16LESample = "\xFF\xFE"
                                  "A\0\x01\x90\x3D\xD8\x00\xDE"s;
const std::string Utf16BESample = "\xFE\xFF"
                                  "\0A\x90\x01\xD8\x3D\xDE\x00"s;
const std::wstring Sample = L"A送\U0001F600";

std::string Hex(std::string_view bytes) {
    std::string text;
    for (unsigned char byte : bytes) {
        text += "0123456789ABCDEF"[byte >> 4];
        text += "0123456789ABCDEF"[byte & 15];
        text += ' ';
    }
    return text;
}

TEST(DetectByteOrderMark, KnowsUtf8AndBothUtf16Marks) {
    struct Case {
        std::string bytes;
        std::optional<TextEncoding> expected;
    };
    const Case cases[] = {
        {"", std::nullopt},
        {"[A]", std::nullopt},
        {"\xEF\xBB\xBF", TextEncoding::Utf8},
        {"\xEF\xBB\xBF[A]", TextEncoding::Utf8},
        {"\xEF\xBB", std::nullopt},
        {"\xFF\xFE", TextEncoding::Utf16LE},
        {"\xFF\xFE\0\0"s, TextEncoding::Utf16LE},
        {"\xFE\xFF", TextEncoding::Utf16BE},
        {"\xFF", std::nullopt},
        {"\xBB\xEF\xBF", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::DetectByteOrderMark(c.bytes), c.expected) << "bytes: " << Hex(c.bytes);
    }
}

TEST(EncodeText, WritesTheMarkAndEachEncodingExactly) {
    struct Case {
        TextEncoding encoding;
        const std::string& bytes;
    };
    const Case cases[] = {
        {TextEncoding::Utf8, Utf8Sample},
        {TextEncoding::Utf16LE, Utf16LESample},
        {TextEncoding::Utf16BE, Utf16BESample},
    };
    for (const Case& c : cases) {
        const int encoding = static_cast<int>(c.encoding);
        EXPECT_EQ(Hex(settings::EncodeText(Sample, c.encoding)), Hex(c.bytes))
            << "encoding " << encoding;
        EXPECT_EQ(settings::DetectByteOrderMark(c.bytes), c.encoding) << "encoding " << encoding;
        const std::size_t mark = settings::ByteOrderMark(c.encoding).size();
        EXPECT_EQ(settings::DecodeText(std::string_view(c.bytes).substr(mark), c.encoding), Sample)
            << "encoding " << encoding;
        EXPECT_EQ(Hex(settings::EncodeText(L"", c.encoding)), Hex(c.bytes.substr(0, mark)))
            << "empty text, encoding " << encoding;
    }
}

TEST(DecodeText, ReplacesMalformedUtf8ByItsLongestValidStart) {
    struct Case {
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"plain", L"plain"},
        {"\0a\0"s, L"\0a\0"s},
        {"\xC3\xA9", L"é"},
        {"\x80", L"\uFFFD"},
        {"a\xFF"
         "b",
         L"a\uFFFDb"},
        {"\xC3", L"\uFFFD"},
        {"\xE9\x80", L"\uFFFD"}, // truncated three-byte sequence
        {"\xE9\x80"
         "A",
         L"\uFFFDA"},
        {"\xF0\x9F\x98", L"\uFFFD"},
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                     // overlong
        {"\xE0\x80\x80", L"\uFFFD\uFFFD\uFFFD"},           // overlong
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},           // an encoded surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
        {"\xF5\x80", L"\uFFFD\uFFFD"},
        {"\xEF\xBF\xBF", L"\uFFFF"},
        {"\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::DecodeText(c.bytes, TextEncoding::Utf8), c.text)
            << "bytes: " << Hex(c.bytes);
    }
}

TEST(DecodeText, ReadsUtf16AndKeepsLoneSurrogates) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        std::wstring text;
    };
    const std::wstring loneHigh(1, static_cast<wchar_t>(0xD83D));
    const std::wstring loneLow(1, static_cast<wchar_t>(0xDE00));
    const Case cases[] = {
        {"", TextEncoding::Utf16LE, L""},
        {"A\0"s, TextEncoding::Utf16LE, L"A"},
        {"\0A"s, TextEncoding::Utf16BE, L"A"},
        {"A\0B"s, TextEncoding::Utf16LE, L"A\uFFFD"}, // half a unit at the end
        {"\0\0"s, TextEncoding::Utf16LE, L"\0"s},
        {"\x3D\xD8", TextEncoding::Utf16LE, loneHigh},
        {"\x3D\xD8"
         "A\0"s,
         TextEncoding::Utf16LE, loneHigh + L"A"},
        {"\xDE\x00\xD8\x3D"s, TextEncoding::Utf16BE, loneLow + loneHigh},
        {"\xD8\x3D\xDE\x00"s, TextEncoding::Utf16BE, L"\U0001F600"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::DecodeText(c.bytes, c.encoding), c.text)
            << "bytes: " << Hex(c.bytes) << " encoding " << static_cast<int>(c.encoding);
    }
}

TEST(EncodeText, Utf16RoundTripsEveryUnitAndUtf8ReplacesLoneSurrogates) {
    const std::wstring lone(1, static_cast<wchar_t>(0xD800));
    EXPECT_EQ(Hex(settings::EncodeText(lone, TextEncoding::Utf16LE)), Hex("\xFF\xFE\x00\xD8"s));
    EXPECT_EQ(Hex(settings::EncodeText(lone, TextEncoding::Utf16BE)), Hex("\xFE\xFF\xD8\x00"s));
    EXPECT_EQ(Hex(settings::EncodeText(lone, TextEncoding::Utf8)), Hex("\xEF\xBB\xBF\xEF\xBF\xBD"));
    const std::string units = "\x00\xD8"
                              "A\0\x00\xDC\x3D\xD8\x00\xDE\0\0"s;
    EXPECT_EQ(Hex(settings::EncodeText(settings::DecodeText(units, TextEncoding::Utf16LE),
                                       TextEncoding::Utf16LE)),
              Hex("\xFF\xFE" + units));
}

TEST(SettingsText, SurvivesEachEncodingThroughTheInMemoryCopy) {
    const std::wstring text =
        L"[他のツール]\r\n名前=送る \U0001F600\r\n\r\n[PROGRAM]\r\nName=Tavimbo.exe\r\n\r\n";
    for (TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        const std::string bytes = settings::EncodeText(text, encoding);
        const auto detected = settings::DetectByteOrderMark(bytes);
        ASSERT_EQ(detected, encoding) << "encoding " << static_cast<int>(encoding);
        const std::size_t mark = settings::ByteOrderMark(encoding).size();
        const settings::IniFile file = settings::IniFile::Parse(
            settings::DecodeText(std::string_view(bytes).substr(mark), encoding));
        EXPECT_EQ(settings::EncodeText(file.Text(), encoding), bytes)
            << "encoding " << static_cast<int>(encoding);
    }
}

TEST(SettingsText, InvalidUtf8InAnotherSectionBecomesReplacementCharacters) {
    const std::string bytes = "[Other]\r\nk=\xC3(\r\n[A]\r\nx=1\r\n";
    const settings::IniFile file =
        settings::IniFile::Parse(settings::DecodeText(bytes, TextEncoding::Utf8));
    EXPECT_EQ(file.Text(), L"[Other]\r\nk=\uFFFD(\r\n\r\n[A]\r\nx=1\r\n\r\n");
}

TEST(AnsiText, KeepsWhatTheCodePageDropsOnAnyLineTheLastIncluded) {
    constexpr wchar_t Double4181 = 0x8141; // the bytes 81 41
    const std::pair<std::string, std::wstring> cases[] = {
        {"", L""},
        {"x=\x81\x41\r\n", {L'x', L'=', Double4181, L'\r', L'\n'}},
        // UTF-8 in a last line without a line break, and a file cut after a lead byte.
        {"a=1\r\nb=\xE9\x80\x81",
         {L'a', L'=', L'1', L'\r', L'\n', L'b', L'=', 0xDCE9, 0xDC80, 0xDC81}},
        {"x=\x81\x41\r\n\x9F", {L'x', L'=', Double4181, L'\r', L'\n', 0xDC9F}},
        // A line break is never taken as a character's second byte.
        {"\x81\nz", {0xDC81, L'\n', L'z'}},
        // A character written back as other bytes keeps its second byte, and "]" stays itself.
        {"[\x87\x90]\r\n", {L'[', 0xDC87, 0xDC90, L']', L'\r', L'\n'}},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(settings::DecodeAnsi(bytes, tests::FakeCodePage), text) << Hex(bytes);
        EXPECT_EQ(settings::EncodeAnsi(text, tests::FakeCodePage), bytes) << Hex(bytes);
    }
}

// A failed comparison of texts shows them as the reader would (tests/WideTextPrinting.h).
TEST(FailureMessages, ShowWideTextsAsUtf8WithLineBreaksEscaped) {
    EXPECT_EQ(testing::PrintToString(std::wstring(L"新規 \"送る\"\r\n\U0001F600")),
              "L\"新規 \\\"送る\\\"\\r\\n\U0001F600\"");
    EXPECT_EQ(testing::PrintToString(std::wstring_view(L"タビンボ")), "L\"タビンボ\"");
    const wchar_t* const path = L"C:\\送る";
    EXPECT_EQ(testing::PrintToString(path), "L\"C:\\\\送る\"");
}

} // namespace
