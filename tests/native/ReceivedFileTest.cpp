#include "shortcuts/ReceivedFile.h"
#include "shortcuts/ShortcutFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::wstring>;

struct SplitCase {
    const char* name;
    std::wstring commandLine;
    Arguments arguments;
};

void ExpectSplits(const std::vector<SplitCase>& cases) {
    for (const SplitCase& c : cases) {
        EXPECT_EQ(shortcuts::SplitCommandLine(c.commandLine), c.arguments) << "case: " << c.name;
    }
}

TEST(SplitCommandLine, SeparatesAtEveryCodeFromOneToThirtyTwo) {
    ExpectSplits({
        {"blanks", L"prog a  b", {L"prog", L"a", L"b"}},
        {"tab and line break", L"prog\ta\r\nb", {L"prog", L"a", L"b"}},
        {"control characters",
         std::wstring(L"prog\x01"
                      L"a\x1f"
                      L"b\x7f"
                      L"c"),
         {L"prog", L"a",
          L"b\x7f"
          L"c"}},
        {"leading and trailing blanks", L"   prog a   ", {L"prog", L"a"}},
        {"exclamation mark is no separator", L"prog !a", {L"prog", L"!a"}},
        {"ideographic space is no separator",
         L"prog 送る　ファイル.txt",
         {L"prog", L"送る　ファイル.txt"}},
        {"a NUL ends the line", std::wstring(L"prog a\0b", 8), {L"prog", L"a"}},
    });
}

TEST(SplitCommandLine, QuotedRunsKeepBlanksAndLoseTheirQuotes) {
    ExpectSplits({
        {"program in quotes with blanks",
         L"\"C:\\Program Files\\Tavimbo\\Tavimbo.exe\" \"C:\\My Files\\a b.txt\"",
         {L"C:\\Program Files\\Tavimbo\\Tavimbo.exe", L"C:\\My Files\\a b.txt"}},
        {"quotes in the middle of an argument",
         L"prog C:\\My\" Fi\"les\\a.txt",
         {L"prog", L"C:\\My Files\\a.txt"}},
        {"two runs in one argument", L"prog \"a b\"c\" d\"", {L"prog", L"a bc d"}},
        {"run closed at once inside an argument", L"prog a\"\"b", {L"prog", L"ab"}},
        {"tab inside a run", L"prog \"a\tb\"", {L"prog", L"a\tb"}},
        {"unterminated quote runs to the end",
         L"prog \"C:\\My Files\\a.txt  ",
         {L"prog", L"C:\\My Files\\a.txt  "}},
        {"a run of one blank is an argument", L"prog \" \" x", {L"prog", L" ", L"x"}},
    });
}

TEST(SplitCommandLine, SkipsPairsOfQuotesBeforeAnArgument) {
    ExpectSplits({
        {"empty argument", L"prog \"\"", {L"prog"}},
        {"empty arguments between others", L"prog \"\" a \"\" \"\" b", {L"prog", L"a", L"b"}},
        {"pair glued to an argument", L"prog \"\"a", {L"prog", L"a"}},
        {"two pairs glued to an argument", L"prog \"\"\"\"a", {L"prog", L"a"}},
        {"pair then a quoted run", L"prog \"\"\" b\"", {L"prog", L" b"}},
        {"pair after an argument belongs to it", L"prog a\"\" b", {L"prog", L"a", L"b"}},
        {"program name as a pair", L"\"\" prog a", {L"prog", L"a"}},
    });
}

TEST(SplitCommandLine, EndsWithoutArgumentsWhereNothingIsLeft) {
    ExpectSplits({
        {"empty command line", L"", {}},
        {"blanks only", L"  \t ", {}},
        {"program only", L"prog", {L"prog"}},
        {"lone quote", L"prog \"", {L"prog"}},
        {"lone quote after a pair", L"prog \"\"\"", {L"prog"}},
        {"quotes only", L"\"", {}},
    });
}

TEST(SplitCommandLine, TakesAVeryLongLineWhole) {
    const std::wstring path = L"C:\\" + std::wstring(31990, L'x');
    const Arguments arguments = shortcuts::SplitCommandLine(L"prog \"" + path + L"\" b");
    ASSERT_EQ(arguments.size(), 3U);
    EXPECT_EQ(arguments[1], path);
    EXPECT_EQ(arguments[2], L"b");
}

TEST(HasSoundItemList, RefusesSizesThatDoNotEndAtATerminator) {
    // A header whose flags announce an item list, then the list's size and its items.
    auto shortcut = [](std::vector<unsigned char> list) {
        std::vector<unsigned char> bytes(0x4C, 0);
        bytes[0x14] = 1;
        bytes.insert(bytes.end(), list.begin(), list.end());
        return bytes;
    };
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        bool sound;
    };
    const Case cases[] = {
        {"one item and the terminator", shortcut({6, 0, 4, 0, 'a', 'b', 0, 0}), true},
        {"empty list", shortcut({2, 0, 0, 0}), true},
        {"list size 1", shortcut({1, 0, 4, 0, 'a', 'b', 0, 0}), false},
        {"list size 3", shortcut({3, 0, 4, 0, 'a', 'b', 0, 0}), false},
        {"list past the file", shortcut({0xFF, 0xFF, 0, 0}), false},
        {"item of size 1", shortcut({6, 0, 1, 0, 'a', 'b', 0, 0}), false},
        {"item past the list", shortcut({6, 0, 9, 0, 'a', 'b', 0, 0}), false},
        {"cut inside the size", shortcut({6}), false},
        {"no list announced", std::vector<unsigned char>(0x4C, 0), true},
        {"shorter than a header", std::vector<unsigned char>(10, 1), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shortcuts::HasSoundItemList(c.bytes), c.sound) << c.name;
    }
}

} // namespace
