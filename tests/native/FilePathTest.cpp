#include "app/FilePath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(FilePath, SplitsAndChangesExtensionsLikeWindowsPaths) {
    struct Case {
        const wchar_t* path;
        const wchar_t* withIni;
        const wchar_t* name;
        const wchar_t* directory;
    };
    const Case cases[] = {
        {L"C:\\Tools\\Tavimbo.exe", L"C:\\Tools\\Tavimbo.ini", L"Tavimbo.exe", L"C:\\Tools"},
        {L"C:\\Tavimbo.exe", L"C:\\Tavimbo.ini", L"Tavimbo.exe", L"C:\\"},
        {L"C:\\a.b\\Tavimbo", L"C:\\a.b\\Tavimbo.ini", L"Tavimbo", L"C:\\a.b"},
        {L"C:\\x\\name.tar.exe", L"C:\\x\\name.tar.ini", L"name.tar.exe", L"C:\\x"},
        {L"C:\\x\\name.", L"C:\\x\\name.ini", L"name.", L"C:\\x"},
        {L"C:/x/送る.EXE", L"C:/x/送る.ini", L"送る.EXE", L"C:/x"},
        {L"\\\\server\\share\\T.exe", L"\\\\server\\share\\T.ini", L"T.exe", L"\\\\server\\share"},
        {L"C:T.exe", L"C:T.ini", L"T.exe", L"C:"},
        {L"\\T.exe", L"\\T.ini", L"T.exe", L"\\"},
        {L"T.exe", L"T.ini", L"T.exe", L""},
        {L"", L".ini", L"", L""},
    };
    for (const Case& c : cases) {
        const std::wstring path = c.path;
        EXPECT_EQ(app::ChangeFileExtension(path, L".ini"), c.withIni)
            << testing::PrintToString(path);
        EXPECT_EQ(app::ExtractFileName(path), c.name) << testing::PrintToString(path);
        EXPECT_EQ(app::ExtractFileDirectory(path), c.directory) << testing::PrintToString(path);
    }
}

TEST(FilePath, ExtractFilePathKeepsTheTrailingDelimiter) {
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {L"C:\\SendTo\\Tavimbo.Lnk", L"C:\\SendTo\\"},
        {L"C:\\SendTo\\*.Lnk", L"C:\\SendTo\\"},
        {L"C:\\SendTo\\", L"C:\\SendTo\\"},
        {L"C:file.Lnk", L"C:"},
        {L"C:/a/b.Lnk", L"C:"}, // only "\" and ":" end the folder part
        {L"a/b.Lnk", L""},
        {L"file.Lnk", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app::ExtractFilePath(c.path), c.folder)
            << "path " << testing::PrintToString(std::wstring(c.path));
    }
}

TEST(FilePath, ExtractFileExtensionIsTheTextFromTheLastDotOfTheLastComponent) {
    struct Case {
        const wchar_t* path;
        const wchar_t* extension;
    };
    const Case cases[] = {
        {L"C:\\Users\\a\\report.LNK", L".LNK"},
        {L"C:\\Users\\a\\report.lnk.txt", L".txt"},
        {L"C:\\Users\\a.b\\report", L""}, // a dot inside a folder name
        {L"C:\\Users\\a\\report.", L"."}, // a trailing dot
        {L"C:", L""},
        {L"C:\\", L""},
        {L"C:report.lnk", L".lnk"},
        {L"C:\\a\\.lnk", L".lnk"},
        {L"C:\\a\\report.lnk:stream", L""}, // a colon after the dot
        {L"report", L""},
        {L"", L""},
        {L"C:\\a.d/report", L".d/report"}, // only "\" and ":" end the extension
        {L"C:\\資料\\報告.ＬＮＫ", L".ＬＮＫ"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app::ExtractFileExtension(c.path), c.extension)
            << "path: " << testing::PrintToString(std::wstring(c.path));
    }
}

TEST(FilePath, ParentFolderKeepsTheRootSeparatorAndStopsAtRoots) {
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {L"C:\\Tools\\Tavimbo.chm", L"C:\\Tools"},
        {L"C:\\Tools", L"C:\\"},
        {L"C:\\", L""},
        {L"C:", L""},
        {L"C:/Tools", L"C:/"},
        {L"C:\\Tools\\", L"C:\\Tools"},
        {L"C:\\A/B", L"C:\\A"},
        {L"\\\\server\\share\\dir\\Tavimbo.chm", L"\\\\server\\share\\dir"},
        {L"\\\\server\\share\\dir", L"\\\\server\\share"},
        {L"\\\\server\\share", L""},
        {L"\\\\server\\share\\", L""},
        {L"\\\\?\\C:\\A", L"\\\\?\\C:\\"},
        {L"\\\\?\\C:\\", L""},
        {L"Tavimbo.chm", L""},
        {L"C:Tavimbo.chm", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app::ParentFolder(c.path), c.folder)
            << testing::PrintToString(std::wstring(c.path));
    }
}

TEST(FilePath, HasInvalidPathCharactersFlagsControlCharactersQuotesAngleBracketsAndBars) {
    for (wchar_t c = 0; c < 128; ++c) {
        const bool invalid = c < 32 || c == L'"' || c == L'<' || c == L'>' || c == L'|';
        const std::wstring path = L"C:\\a"s + c + L"b";
        EXPECT_EQ(app::HasInvalidPathCharacters(path), invalid) << "code " << int(c);
    }
    EXPECT_FALSE(app::HasInvalidPathCharacters(L"C:\\送る\\メモ帳.exe"));
    EXPECT_FALSE(app::HasInvalidPathCharacters(L""));
    EXPECT_TRUE(app::HasInvalidPathCharacters(L"\x7f\x01"));
}

TEST(FilePath, QuotedPutsThePathInDoubleQuotes) {
    EXPECT_EQ(app::Quoted(L"C:\\Send To\\"), L"\"C:\\Send To\\\"");
}

} // namespace
