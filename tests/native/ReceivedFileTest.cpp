#include "shortcuts/ReceivedFile.h"

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

} // namespace
