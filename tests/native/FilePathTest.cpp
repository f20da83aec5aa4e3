#include "services/FilePath.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        EXPECT_EQ(services::ChangeFileExtension(path, L".ini"), c.withIni)
            << testing::PrintToString(path);
        EXPECT_EQ(services::ExtractFileName(path), c.name) << testing::PrintToString(path);
        EXPECT_EQ(services::ExtractFileDirectory(path), c.directory)
            << testing::PrintToString(path);
    }
}

TEST(FilePath, TakesPathsApartByEachRule) {
    struct Rule {
        const char* name;
        std::wstring (*apply)(const std::wstring& path);
    };
    const Rule filePath{"ExtractFilePath", [](const std::wstring& path) {
                            return std::wstring(services::ExtractFilePath(path));
                        }};
    const Rule extension{"ExtractFileExtension", [](const std::wstring& path) {
                             return std::wstring(services::ExtractFileExtension(path));
                         }};
    const Rule parent{"ParentFolder",
                      [](const std::wstring& path) { return services::ParentFolder(path); }};
    const Rule quoted{"Quoted", [](const std::wstring& path) { return services::Quoted(path); }};
    struct Case {
        const Rule* rule;
        const wchar_t* path;
        const wchar_t* expected;
    };
    const Case cases[] = {
        // The folder part keeps its trailing delimiter.
        {&filePath, L"C:\\SendTo\\Tavimbo.Lnk", L"C:\\SendTo\\"},
        {&filePath, L"C:\\SendTo\\*.Lnk", L"C:\\SendTo\\"},
        {&filePath, L"C:\\SendTo\\", L"C:\\SendTo\\"},
        {&filePath, L"C:file.Lnk", L"C:"},
        {&filePath, L"C:/a/b.Lnk", L"C:"}, // only "\" and ":" end the folder part
        {&filePath, L"a/b.Lnk", L""},
        {&filePath, L"file.Lnk", L""},
        // The extension runs from the last dot of the last component.
        {&extension, L"C:\\Users\\a\\report.LNK", L".LNK"},
        {&extension, L"C:\\Users\\a\\report.lnk.txt", L".txt"},
        {&extension, L"C:\\Users\\a.b\\report", L""}, // a dot inside a folder name
        {&extension, L"C:\\Users\\a\\report.", L"."}, // a trailing dot
        {&extension, L"C:", L""},
        {&extension, L"C:\\", L""},
        {&extension, L"C:report.lnk", L".lnk"},
        {&extension, L"C:\\a\\.lnk", L".lnk"},
        {&extension, L"C:\\a\\report.lnk:stream", L""}, // a colon after the dot
        {&extension, L"report", L""},
        {&extension, L"", L""},
        {&extension, L"C:\\a.d/report", L".d/report"}, // only "\" and ":" end the extension
        {&extension, L"C:\\資料\\報告.ＬＮＫ", L".ＬＮＫ"},
        // The parent folder keeps the root's separator and stops at drive and share roots.
        {&parent, L"C:\\Tools\\Tavimbo.chm", L"C:\\Tools"},
        {&parent, L"C:\\Tools", L"C:\\"},
        {&parent, L"C:\\", L""},
        {&parent, L"C:", L""},
        {&parent, L"C:/Tools", L"C:/"},
        {&parent, L"C:\\Tools\\", L"C:\\Tools"},
        {&parent, L"C:\\A/B", L"C:\\A"},
        {&parent, L"\\\\server\\share\\dir\\Tavimbo.chm", L"\\\\server\\share\\dir"},
        {&parent, L"\\\\server\\share\\dir", L"\\\\server\\share"},
        {&parent, L"\\\\server\\share", L""},
        {&parent, L"\\\\server\\share\\", L""},
        {&parent, L"\\\\?\\C:\\A", L"\\\\?\\C:\\"},
        {&parent, L"\\\\?\\C:\\", L""},
        {&parent, L"Tavimbo.chm", L""},
        {&parent, L"C:Tavimbo.chm", L""},
        {&parent, L"C:\\A:\\B", L"C:\\A:"},
        {&parent, L"\\\\server\\share\\a:\\", L"\\\\server\\share\\a:"},
        {&parent, L"", L""},
        {&quoted, L"C:\\Send To\\", L"\"C:\\Send To\\\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.rule->apply(c.path), c.expected)
            << c.rule->name << " " << testing::PrintToString(std::wstring(c.path));
    }
}

TEST(FilePath, HasInvalidPathCharactersFlagsControlCharactersQuotesAngleBracketsAndBars) {
    for (wchar_t c = 0; c < 128; ++c) {
        const bool invalid = c < 32 || c == L'"' || c == L'<' || c == L'>' || c == L'|';
        const std::wstring path = L"C:\\a"s + c + L"b";
        EXPECT_EQ(services::HasInvalidPathCharacters(path), invalid) << "code " << int(c);
    }
    EXPECT_FALSE(services::HasInvalidPathCharacters(L"C:\\送る\\メモ帳.exe"));
    EXPECT_FALSE(services::HasInvalidPathCharacters(L""));
    EXPECT_TRUE(services::HasInvalidPathCharacters(L"\x7f\x01"));
}

TEST(FilePath, NamesSameTargetHoweverTheShellSpellsIt) {
    // The long forms this test's disk knows, and what a look-up taking "?" for a pattern finds.
    const auto longForm = [](const std::wstring& path) {
        if (path == L"C:\\PROGRA~1\\Tool\\RUNAPP~1.EXE") {
            return std::wstring(L"C:\\Program Files\\Tool\\run app.exe");
        }
        return path == L"C:\\???.txt" ? std::wstring(L"C:\\日本語.txt") : path;
    };
    // Windows' comparison of names, for ASCII letters.
    const auto asciiEqual = [](std::wstring_view first, std::wstring_view second) {
        const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; };
        return std::ranges::equal(first, second, {}, upper, upper);
    };
    struct Case {
        const wchar_t* given;
        const wchar_t* stored;
        bool same;
    };
    const Case cases[] = {
        {L"c:\\tools\\tavimbo.exe", L"C:\\Tools\\Tavimbo.exe", true},
        {L"C:\\PROGRA~1\\Tool\\RUNAPP~1.EXE", L"C:\\Program Files\\Tool\\run app.exe", true},
        {L"c:\\program files\\tool\\run app.exe", L"C:\\PROGRA~1\\Tool\\RUNAPP~1.EXE", true},
        {L"C:\\Data\\", L"C:\\Data", true},
        {L"C:/Data/report.txt", L"C:\\Data\\report.txt", true},
        {L"C:\\", L"C:", false},
        {L"\\\\server\\share\\", L"\\\\SERVER\\Share", true},
        {L"\\\\server\\share\\Tools\\x.exe", L"\\\\SERVER\\SHARE\\tools\\X.EXE", true},
        {L"\\\\server\\share\\Tools\\x.exe", L"\\\\server\\share2\\Tools\\x.exe", false},
        {L"C:\\a?b.txt", L"C:\\A?B.TXT", true},
        // Lost characters: cut, emptied, replaced by "?", fitted into a code page.
        {L"C:\\Data\\report.txt", L"C:\\Data\\report.tx", false},
        {L"C:\\Data\\report.txt", L"", false},
        {L"C:\\日本語.txt", L"C:\\???.txt", false},
        {L"C:\\emoji😀👍.txt", L"C:\\emoji????.txt", false},
    };
    for (const Case& c : cases) {
        for (const bool swapped : {false, true}) {
            EXPECT_EQ(services::NamesSameTarget(swapped ? c.stored : c.given,
                                                swapped ? c.given : c.stored, longForm, asciiEqual),
                      c.same)
                << testing::PrintToString(std::wstring(c.given)) << " and "
                << testing::PrintToString(std::wstring(c.stored));
        }
    }
}

} // namespace
