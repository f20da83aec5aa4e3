#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>
#include <string>

namespace {

using namespace std::string_literals;

constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Fallback = 77;

std::string Show(std::wstring_view text) {
    return testing::PrintToString(std::wstring(text));
}

TEST(ReadInteger, ReadsDecimalAndHexadecimalOrGivesTheFallback) {
    struct Case {
        std::wstring text;
        std::int32_t expected;
    };
    const Case cases[] = {
        // Decimal, with blanks and signs.
        {L"0", 0},
        {L"123", 123},
        {L"   123", 123},
        {L"08", 8},
        {L"+5", 5},
        {L"-5", -5},
        {L"  -5", -5},
        {L"000000000000002147483647", Highest},
        {L"2147483647", Highest},
        {L"+2147483647", Highest},
        {L"2147483648", Fallback},
        {L"-2147483648", Lowest},
        {L"-2147483649", Fallback},
        {L"99999999999999999999999", Fallback},
        // Hexadecimal after "$", "0x" or a lone "x", in either case.
        {L"$1F", 31},
        {L"$1f", 31},
        {L"-$1F", -31},
        {L"0x10", 16},
        {L"0X10", 16},
        {L"X10", 16},
        {L"x10", 16},
        {L"+0x10", 16},
        {L"-x10", -16},
        {L"  $a", 10},
        {L"$FFFFFFFF", -1},
        {L"0x80000000", Lowest},
        {L"$7FFFFFFF", Highest},
        {L"-$80000000", Lowest},
        {L"-$FFFFFFFF", 1},
        {L"0x00000001", 1},
        // Nine hexadecimal digits are too many, even when they start with zeros.
        {L"0x123456789", Fallback},
        {L"$000000001", Fallback},
        // Prefixes or signs without digits.
        {L"x", Fallback},
        {L"X", Fallback},
        {L"0x", Fallback},
        {L"$", Fallback},
        {L"+", Fallback},
        {L"-", Fallback},
        {L"+-5", Fallback},
        {L"- 5", Fallback},
        {L"0x-1", Fallback},
        {L"$ 1", Fallback},
        // Anything else.
        {L"", Fallback},
        {L"   ", Fallback},
        {L"12abc", Fallback},
        {L"abc", Fallback},
        {L"12 ", Fallback},
        {L"1.5", Fallback},
        {L"0x1G", Fallback},
        {L"0b101", Fallback},
        {L"\t12", Fallback},
        {L"１２", Fallback},        // full-width digits
        {L"\u300012", Fallback},    // full-width blank
        {L"0ｘ10", Fallback},       // full-width x
        {L"1\0"s + L"2", Fallback}, // a NUL inside
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::ReadInteger(c.text, Fallback), c.expected) << "text: " << Show(c.text);
    }
}

TEST(ReadInteger, ReadsBackEveryValueWrittenInDecimal) {
    const std::int32_t values[] = {Lowest, Lowest + 1, -65536, -1, 0, 1, 280, 65535, Highest};
    for (std::int32_t value : values) {
        EXPECT_EQ(settings::ReadInteger(std::to_wstring(value), value == 0 ? 1 : 0), value)
            << "value " << value;
    }
}

TEST(ReadBoolean, ZeroIsFalseOtherNumbersTrueAndTheRestTheFallback) {
    struct Case {
        const wchar_t* text;
        bool fallback;
        bool expected;
    };
    const Case cases[] = {
        {L"0", true, false},  {L"1", false, true},   {L"2", false, true},
        {L"-1", false, true}, {L"0x0", true, false}, {L"$10", false, true},
        {L"", false, false},  {L"", true, true},     {L"abc", false, false},
        {L"abc", true, true}, {L"1a", false, false}, {L"true", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::ReadBoolean(c.text, c.fallback), c.expected)
            << "text: " << Show(c.text) << " fallback " << c.fallback;
    }
}

TEST(IniFile, ReadsForgivinglyAndWritesCanonicalText) {
    struct Case {
        const char* name;
        std::wstring text;
        std::wstring written;
    };
    const std::wstring hugeValue(1'000'000, L'v');
    const Case cases[] = {
        {"empty text", L"", L""},
        {"only junk", L"junk\r\n; comment\r\n   \r\n=x\r\nkey=value\r\n\x01\x02", L""},
        {"one entry", L"[A]\r\nk=v\r\n", L"[A]\r\nk=v\r\n\r\n"},
        {"no line break at the end", L"[A]\r\nk=v", L"[A]\r\nk=v\r\n\r\n"},
        {"blanks and control characters stripped", L"  \t[ A ]\x01 \r\n  key \t=  value  \r\n",
         L"[A]\r\nkey=value\r\n\r\n"},
        {"comments and empty lines dropped", L"[A]\r\n;c=1\r\n\r\n  ; c\r\nk=v\r\n\r\n",
         L"[A]\r\nk=v\r\n\r\n"},
        {"semicolon inside a value kept", L"[A]\r\nk=v ;c\r\n", L"[A]\r\nk=v ;c\r\n\r\n"},
        {"line without = kept", L"[A]\r\n  plain text \r\n", L"[A]\r\nplain text\r\n\r\n"},
        {"value keeps its other =", L"[A]\r\nk = a=b\r\n", L"[A]\r\nk=a=b\r\n\r\n"},
        {"empty key and value", L"[A]\r\n=\r\n = v\r\n", L"[A]\r\n=\r\n=v\r\n\r\n"},
        {"lines before the first section dropped", L"k=1\r\n[A]\r\nk=2\r\n", L"[A]\r\nk=2\r\n\r\n"},
        {"sections merged without regard to case", L"[A]\r\na=1\r\n[B]\r\nb=1\r\n[a]\r\nc=2\r\n",
         L"[A]\r\na=1\r\nc=2\r\n\r\n[B]\r\nb=1\r\n\r\n"},
        {"empty section kept", L"[A]\r\n[B]\r\nb=1\r\n", L"[A]\r\n\r\n[B]\r\nb=1\r\n\r\n"},
        {"empty section name", L"[]\r\nk=v\r\n", L"[]\r\nk=v\r\n\r\n"},
        {"bracket line that is no section", L"[A]\r\n[B] x\r\n[\r\n", L"[A]\r\n[B] x\r\n[\r\n\r\n"},
        {"LF and CR line ends", L"[A]\nx=1\ry=2\n\rz=3", L"[A]\r\nx=1\r\ny=2\r\nz=3\r\n\r\n"},
        {"duplicate keys kept", L"[A]\r\nk=1\r\nK=2\r\n", L"[A]\r\nk=1\r\nK=2\r\n\r\n"},
        {"control characters in and around a value kept, blanks trimmed",
         L"[A]\r\nk= \x01v\x07\t \r\nt=\tx\r\nn=a\0b\0\r\n"s,
         L"[A]\r\nk=\x01v\x07\t\r\nt=\tx\r\nn=a\0b\0\r\n\r\n"s},
        {"control character before [ or in the brackets: no section for Windows, kept as it came",
         L"[A]\r\na=1\r\n\0[MODE]\0\r\nk=1\r\n\x01[A]\r\n[\x01"
         L"A]\r\nb=2\r\n"s,
         L"[A]\r\na=1\r\n\r\n\0[MODE]\0\r\nk=1\r\n\r\n\x01[A]\r\n\r\n[\x01"
         L"A]\r\nb=2\r\n\r\n"s},
        {"white space before [ and around the name is no control character",
         L"\t\v\x1A[\tA\x1A]\r\nk=1\r\n[a]\r\nj=2\r\n", L"[A]\r\nk=1\r\nj=2\r\n\r\n"},
        {"non-ASCII names and values", L"[設定]\r\n名前 = 送る\r\n",
         L"[設定]\r\n名前=送る\r\n\r\n"},
        {"huge line", L"[A]\r\nk=" + hugeValue + L"\r\n", L"[A]\r\nk=" + hugeValue + L"\r\n\r\n"},
    };
    for (const Case& c : cases) {
        const settings::IniFile file = settings::IniFile::Parse(c.text);
        EXPECT_EQ(file.Text(), c.written) << "case: " << c.name;
        EXPECT_EQ(settings::IniFile::Parse(file.Text()).Text(), c.written)
            << "case read back: " << c.name;
    }
}

TEST(IniFile, ErasesAndWritesInPlaceOrAtTheEnd) {
    const std::wstring original = L"[A]\r\none=1\r\nplain\r\ntwo=2\r\n[B]\r\nb=1\r\n";
    struct Case {
        const char* name;
        void (*change)(settings::IniFile&);
        std::wstring written;
    };
    const Case cases[] = {
        {"existing key replaced in place, matched without regard to case",
         [](settings::IniFile& file) { file.WriteString(L"a", L"ONE", L"10"); },
         L"[A]\r\none=10\r\nplain\r\ntwo=2\r\n\r\n[B]\r\nb=1\r\n\r\n"},
        {"missing key appended to its section",
         [](settings::IniFile& file) { file.WriteString(L"A", L"three", L"3"); },
         L"[A]\r\none=1\r\nplain\r\ntwo=2\r\nthree=3\r\n\r\n[B]\r\nb=1\r\n\r\n"},
        {"a line without = is no key",
         [](settings::IniFile& file) { file.WriteString(L"A", L"plain", L"p"); },
         L"[A]\r\none=1\r\nplain\r\ntwo=2\r\nplain=p\r\n\r\n[B]\r\nb=1\r\n\r\n"},
        {"missing section appended at the end",
         [](settings::IniFile& file) { file.WriteString(L"C", L"c", L""); },
         L"[A]\r\none=1\r\nplain\r\ntwo=2\r\n\r\n[B]\r\nb=1\r\n\r\n[C]\r\nc=\r\n\r\n"},
        {"section erased without regard to case",
         [](settings::IniFile& file) { file.EraseSection(L"a"); }, L"[B]\r\nb=1\r\n\r\n"},
        {"missing section erased", [](settings::IniFile& file) { file.EraseSection(L"C"); },
         L"[A]\r\none=1\r\nplain\r\ntwo=2\r\n\r\n[B]\r\nb=1\r\n\r\n"},
        {"erased then written comes last",
         [](settings::IniFile& file) {
             file.EraseSection(L"A");
             file.WriteString(L"A", L"new", L"1");
         },
         L"[B]\r\nb=1\r\n\r\n[A]\r\nnew=1\r\n\r\n"},
        {"everything erased",
         [](settings::IniFile& file) {
             file.EraseSection(L"B");
             file.EraseSection(L"A");
         },
         L""},
    };
    for (const Case& c : cases) {
        settings::IniFile file = settings::IniFile::Parse(original);
        c.change(file);
        EXPECT_EQ(file.Text(), c.written) << "case: " << c.name;
    }
}

TEST(IniFile, ASaveKeepsOtherWritersFirstAndDropsComments) {
    // Windows' reader sees the hidden "MODE" as lines of "Other": the save keeps them.
    settings::IniFile file = settings::IniFile::Parse(
        L"; written by hand\r\n[program]\r\nName=old.exe\r\nStale=1\r\n[Other]\r\n; note\r\n"
        L"x = 1\r\n\0\0[MODE]\r\nSaveStatus=2\r\n[POSITION]\r\nTop=5\r\n[Mode]\r\nSaveStatus=1\r\n"s);
    file.EraseSection(L"PROGRAM");
    file.WriteString(L"PROGRAM", L"Name", L"Tavimbo.exe");
    file.EraseSection(L"POSITION");
    file.EraseSection(L"MODE");
    file.WriteString(L"MODE", L"SaveStatus", L"0");
    EXPECT_EQ(file.Text(), L"[Other]\r\nx=1\r\n\r\n\0\0[MODE]\r\nSaveStatus=2\r\n\r\n"
                           L"[PROGRAM]\r\nName=Tavimbo.exe\r\n\r\n[MODE]\r\nSaveStatus=0\r\n\r\n"s);
}

// A save's own files say which computer and which run made them; every name a user or another
// program could choose is left alone.
TEST(SaveFileName, KnowsEachRunsFilesAndNothingElse) {
    using settings::SaveFileKind;
    const services::RunTag run{L"PC-1.X", 0x17F, 0x01DB23456789ABCD};
    const settings::Fingerprint copied = settings::FingerprintOf("[B]\r\n");
    const settings::Fingerprint completed = settings::FingerprintOf("[A]\r\n");
    for (const SaveFileKind kind :
         {SaveFileKind::Temporary, SaveFileKind::Backup, SaveFileKind::Journal}) {
        const bool journal = kind == SaveFileKind::Journal;
        const settings::SaveFileName name{run, kind, journal ? 0x00A1B2C3D4E5F607u : 0,
                                          journal ? copied : settings::Fingerprint{},
                                          journal ? completed : settings::Fingerprint{}};
        const std::wstring path = settings::SaveFilePath(L"C:\\T\\T.ini", name);
        const auto parsed = settings::ParseSaveFileName(L"T.ini", path.substr(5));
        ASSERT_TRUE(parsed) << Show(path);
        EXPECT_EQ(parsed->run, run) << Show(path);
        EXPECT_EQ(parsed->kind, kind) << Show(path);
        EXPECT_EQ(parsed->file, name.file) << Show(path);
        EXPECT_EQ(parsed->copied, name.copied) << Show(path);
        EXPECT_EQ(parsed->completed, name.completed) << Show(path);
    }
    const wchar_t* others[] = {
        L"T.ini.20240101.bak",
        L"T.ini.2.old",
        L"T.ini.384.tmp",
        L"T.ini.bak",
        L"T.ini1.tmp",
        L"T.ini.PC-0000017F-01DB23456789ABCD.txt", // not a save's extension
        L"T.ini.PC-0000017f-01DB23456789ABCD.tmp", // lower-case digits
        L"T.ini.-0000017F-01DB23456789ABCD.tmp",   // no computer
        L"T.ini.PC-17F-01DB23456789ABCD.tmp",      // too few digits
        L"T.ini.PC-0000017F-01DB23456789ABCD.old", // a journal without its fingerprints
        L"T.ini.PC-0000017F-01DB23456789ABCD.00000005-0123456789ABCDEF.old",
        L"T.ini.PC-0000017F-01DB23456789ABCD.0000000000000001.00000005-X123456789ABCDEF"
        L".00000005-0123456789ABCDEF.old",
        L"T.ini.PC-0000017F-01DB23456789ABCD.00000005-0123456789ABCDEF"
        L".00000005-0123456789ABCDEF.old", // no file number
    };
    for (const wchar_t* name : others) {
        EXPECT_FALSE(settings::ParseSaveFileName(L"T.ini", name)) << Show(name);
    }
}

} // namespace
