#include "services/FilePath.h"
#include "platform/Error.h"
#include "shortcuts/ShortcutFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace std::string_literals;

constexpr wchar_t ExePath[] = L"C:\\Program Files\\Tavimbo\\Tavimbo.exe";
constexpr wchar_t Title[] = L"Tavimbo";

std::wstring ShortcutFileNameFor(const std::wstring& target) {
    return services::ExtractFileName(shortcuts::ShortcutPathIn(
        L"C:\\SendTo\\", shortcuts::ShortcutBaseName(target, ExePath, Title)));
}

TEST(ShortcutBaseName, NamesTheShortcutFileAfterTheTarget) {
    struct Case {
        std::wstring target;
        std::wstring fileName;
    };
    const Case cases[] = {
        {L"C:\\Tools\\my.app.exe", L"my.app.Lnk"},
        {L"D:\\Data.2024", L"Data.Lnk"},
        {L"C:\\Tools\\.x", L".Lnk"},
        {L"E:\\", L".Lnk"},
        {L"C:\\Tools\\noext", L"noext.Lnk"},
        {L"C:\\Folder.d\\noext", L"noext.Lnk"},
        {L"C:/Tools/unix.style.txt", L"unix.style.Lnk"},
        {L"C:drive-relative.txt", L"drive-relative.Lnk"},
        {L"bare.name.txt", L"bare.name.Lnk"},
        {L"C:\\Tools\\trailing\\", L".Lnk"},
        {L"", L".Lnk"},
        {L"C:\\データ\\メモ.txt", L"メモ.Lnk"},
        {L"C:\\Tools\\a*b?.exe", L"a*b?.Lnk"},
        {ExePath, L"Tavimbo.Lnk"},
        // Only the exact executable path stands for the program itself.
        {L"c:\\program files\\tavimbo\\TAVIMBO.EXE", L"TAVIMBO.Lnk"},
        {L"C:\\Other\\Tavimbo.exe", L"Tavimbo.Lnk"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortcutFileNameFor(c.target), c.fileName)
            << "target " << testing::PrintToString(c.target);
    }
}

TEST(ShortcutBaseName, UsesTheTitleForTheExecutableWhateverItsName) {
    EXPECT_EQ(shortcuts::ShortcutBaseName(L"C:\\bin\\x.exe", L"C:\\bin\\x.exe", L"Tavimbo"),
              L"Tavimbo");
    // The executable itself is never checked, even were its path to hold such a character.
    EXPECT_EQ(shortcuts::ShortcutBaseName(L"C:\\a|b\\x.exe", L"C:\\a|b\\x.exe", L"Tavimbo"),
              L"Tavimbo");
}

TEST(ShortcutBaseName, RejectsCharactersNotAllowedInPaths) {
    const std::wstring targets[] = {
        L"C:\\Tools\\a\"b.exe",
        L"C:\\Tools\\a<b.exe",
        L"C:\\Tools\\a>b.exe",
        L"C:\\Tools\\a|b.exe",
        L"C:\\Tools\\a\tb.exe",
        L"C:\\Tools\\a\x1f"
        L"b.exe",
        L"C:\\Tools\\a\0b.exe"s,
        L"\"C:\\Tools\\quoted.exe\"",
    };
    for (const std::wstring& target : targets) {
        try {
            shortcuts::ShortcutBaseName(target, ExePath, Title);
            ADD_FAILURE() << "no error for " << testing::PrintToString(target);
        } catch (const platform::Error& error) {
            EXPECT_EQ(error.Message(), L"Invalid characters in path")
                << testing::PrintToString(target);
        }
    }
}

TEST(ShortcutPathIn, MakesSureOfTheFoldersDelimiter) {
    EXPECT_EQ(shortcuts::ShortcutPathIn(L"C:\\SendTo\\", L"a"), L"C:\\SendTo\\a.Lnk");
    EXPECT_EQ(shortcuts::ShortcutPathIn(L"C:\\SendTo", L"a"), L"C:\\SendTo\\a.Lnk");
    EXPECT_EQ(shortcuts::ShortcutPathIn(L"C:\\SendTo\\", L""), L"C:\\SendTo\\.Lnk");
}

TEST(ExplorerSelectParameters, QuotesThePathRightAfterTheComma) {
    EXPECT_EQ(shortcuts::ExplorerSelectParameters(L"C:\\Send To\\a b.Lnk"),
              L"/select,\"C:\\Send To\\a b.Lnk\"");
}

TEST(TemporaryShortcutRun, TakesOnlyTheNamesOfTheProgramsTemporaries) {
    const services::RunTag run{L"PC.1-A", 0xABCD, 0x01DB23456789ABCD};
    EXPECT_EQ(shortcuts::TemporaryShortcutRun(shortcuts::TemporaryShortcutName(run, 12)), run);
    EXPECT_EQ(shortcuts::TemporaryShortcutRun(L"Tavimbo.PC.1-A-0000ABCD-01DB23456789ABCD.7.tmp"),
              run);
    const std::wstring left[] = {
        L"Tavimbo.tmp",
        L"tav1A2B.tmp",
        L"Tavimbo.20240101.7.tmp",
        L"Tavimbo.PC.1-A-0000ABCD-01DB23456789ABCD.tmp",
        L"Tavimbo.PC.1-A-0000ABCD-01DB23456789ABCD..tmp",
        L"Tavimbo.PC.1-A-0000ABCD-01DB23456789ABCD.7x.tmp",
        L"Tavimbo.PC.1-A-0000ABCD-01DB23456789ABCD.7.tmp.bak",
        L"Tavimbo.PC.1-A-0000ABCD-01DB23456789ABCD.7.Lnk",
        L"tavimbo.PC.1-A-0000ABCD-01DB23456789ABCD.7.tmp",
        L"Tavimbo.PC.1-A-0000abcd-01DB23456789ABCD.7.tmp",
        L"Tavimbo.-0000ABCD-01DB23456789ABCD.7.tmp",
    };
    for (const std::wstring& name : left) {
        EXPECT_EQ(shortcuts::TemporaryShortcutRun(name), std::nullopt)
            << testing::PrintToString(name);
    }
}

TEST(ShownAttributes, DropsWhatHidTheTemporaryAndNeverSetsAttributesThatWereNotRead) {
    EXPECT_EQ(shortcuts::ShownAttributes(0x2026), 0x2020U); // hidden, system, archive, not indexed
    EXPECT_EQ(shortcuts::ShownAttributes(0xFFFFFFFF), std::nullopt);
}

TEST(IsReservedDeviceName, TakesTheNameBeforeTheFirstDotInAnyCase) {
    struct Case {
        std::wstring fileName;
        bool reserved;
    };
    const Case cases[] = {
        {L"con.Lnk", true},      {L"CON.Lnk", true},
        {L"Nul.Lnk", true},      {L"prn", true},
        {L"aux.txt.Lnk", true},  {L"com1.Lnk", true},
        {L"COM9.Lnk", true},     {L"lpt1.Lnk", true},
        {L"LpT9.Lnk", true},     {L"con .Lnk", true},
        {L"com0.Lnk", true},     {L"LpT0.Lnk", true},
        {L"COM¹.Lnk", true},     {L"com² .x", true},
        {L"lpt³", true},         {L"COM⁴", false},
        {L"lpt⁰", false},        {L"com10.Lnk", false},
        {L"lpt.Lnk", false},     {L"console.Lnk", false},
        {L"xcon.Lnk", false},    {L" con.Lnk", false},
        {L"nul_.Lnk", false},    {L"ｃｏｎ.Lnk", false},
        {L".Lnk", false},        {L"", false},
        {L"Tavimbo.Lnk", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(services::IsReservedDeviceName(c.fileName), c.reserved)
            << testing::PrintToString(c.fileName);
    }
}

TEST(FitsPathBuffer, EndsWhereTheShellLinkCouldHaveCutTheTarget) {
    EXPECT_TRUE(services::FitsPathBuffer(std::wstring(259, L'x')));
    EXPECT_FALSE(services::FitsPathBuffer(std::wstring(260, L'x')));
    EXPECT_FALSE(services::FitsPathBuffer(std::wstring(300, L'x')));
    EXPECT_TRUE(services::FitsPathBuffer(L""));
}

TEST(ExtendedLengthPath, TakesOnlyAFullPathTooLongForTheShell) {
    const std::wstring name(257, L'n');
    EXPECT_EQ(services::ExtendedLengthPath(L"C:\\" + name), L"\\\\?\\C:\\" + name);
    EXPECT_EQ(services::ExtendedLengthPath(L"\\\\srv\\s\\" + name), L"\\\\?\\UNC\\srv\\s\\" + name);
    EXPECT_EQ(services::ExtendedLengthPath(L"C:\\a.Lnk"), L"C:\\a.Lnk");
}

TEST(TargetAgainstFolder, ReadsARelativeTargetFromTheShortcutsFolder) {
    struct Case {
        std::wstring target;
        std::wstring folder;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"target.exe", L"C:\\Links\\", L"C:\\Links\\target.exe"},
        {L"target.exe", L"C:\\Links", L"C:\\Links\\target.exe"},
        {L"..\\bin\\t.exe", L"C:\\Links\\", L"C:\\Links\\..\\bin\\t.exe"},
        {L"C:target.exe", L"C:\\Links\\", L"C:\\Links\\target.exe"},
        {L"c:target.exe", L"C:\\Links\\", L"C:\\Links\\target.exe"},
        {L"D:target.exe", L"C:\\Links\\", L"D:\\target.exe"},
        {L"\\Tools\\t.exe", L"D:\\Links\\", L"D:\\Tools\\t.exe"},
        {L"/Tools/t.exe", L"D:\\Links\\", L"D:/Tools/t.exe"},
        {L"C:\\Tools\\t.exe", L"D:\\Links\\", L"C:\\Tools\\t.exe"},
        {L"C:/Tools/t.exe", L"D:\\Links\\", L"C:/Tools/t.exe"},
        {L"\\\\server\\share\\t.exe", L"D:\\Links\\", L"\\\\server\\share\\t.exe"},
        {L"", L"D:\\Links\\", L""},
        {L"t.exe", L"\\\\server\\share\\", L"\\\\server\\share\\t.exe"},
        {L"t.exe", L"C:", L"C:t.exe"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(services::TargetAgainstFolder(c.target, c.folder), c.expected)
            << testing::PrintToString(c.target) << " in " << testing::PrintToString(c.folder);
    }
}

} // namespace
