#include "info/HelpPage.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) {
    return testing::PrintToString(text);
}

TEST(HelpFileName, ReplacesOnlyTheFileNamesExtension) {
    struct Case {
        const wchar_t* exe;
        const wchar_t* help;
    };
    const Case cases[] = {
        {L"C:\\Tools\\Tavimbo.exe", L"C:\\Tools\\Tavimbo.chm"},
        {L"C:\\My.Tools\\Tavimbo", L"C:\\My.Tools\\Tavimbo.chm"},
        {L"C:\\Tools\\Tavimbo.v2.exe", L"C:\\Tools\\Tavimbo.v2.chm"},
        {L"\\\\server\\share\\Tavimbo.EXE", L"\\\\server\\share\\Tavimbo.chm"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(info::HelpFileName(c.exe), c.help) << Narrow(c.exe);
    }
}

// A file system of the given files; every query is recorded.
struct FakeFiles {
    std::set<std::wstring> files;
    std::vector<std::wstring> asked;

    std::function<bool(const std::wstring&)> Query() {
        return [this](const std::wstring& path) {
            asked.push_back(path);
            return files.count(path) != 0;
        };
    }
};

TEST(FindHelpFile, SearchesUpwardsToTheRootOfTheDriveOrShare) {
    struct Case {
        const char* name;
        const wchar_t* exe;
        std::set<std::wstring> files;
        std::optional<std::wstring> found;
        std::vector<std::wstring> asked;
    };
    const Case cases[] = {
        {"beside the executable",
         L"C:\\A\\B\\Tavimbo.exe",
         {L"C:\\A\\B\\Tavimbo.chm", L"C:\\Tavimbo.chm"},
         L"C:\\A\\B\\Tavimbo.chm",
         {L"C:\\A\\B\\Tavimbo.chm"}},
        {"two levels up",
         L"C:\\A\\B\\Tavimbo.exe",
         {L"C:\\Tavimbo.chm"},
         L"C:\\Tavimbo.chm",
         {L"C:\\A\\B\\Tavimbo.chm", L"C:\\A\\Tavimbo.chm", L"C:\\Tavimbo.chm"}},
        {"nowhere",
         L"C:\\A\\B\\Tavimbo.exe",
         {},
         std::nullopt,
         {L"C:\\A\\B\\Tavimbo.chm", L"C:\\A\\Tavimbo.chm", L"C:\\Tavimbo.chm"}},
        {"executable in the drive root",
         L"C:\\Tavimbo.exe",
         {},
         std::nullopt,
         {L"C:\\Tavimbo.chm"}},
        // The fake holds no folders: a folder named like the file is simply not a file.
        {"behind a folder of the same name",
         L"C:\\A\\Tavimbo.chm\\Tavimbo.exe",
         {L"C:\\Tavimbo.chm"},
         L"C:\\Tavimbo.chm",
         {L"C:\\A\\Tavimbo.chm\\Tavimbo.chm", L"C:\\A\\Tavimbo.chm", L"C:\\Tavimbo.chm"}},
        {"a share",
         L"\\\\server\\share\\dir\\Tavimbo.exe",
         {L"\\\\server\\share\\Tavimbo.chm"},
         L"\\\\server\\share\\Tavimbo.chm",
         {L"\\\\server\\share\\dir\\Tavimbo.chm", L"\\\\server\\share\\Tavimbo.chm"}},
        {"nowhere on a share",
         L"\\\\server\\share\\Tavimbo.exe",
         {},
         std::nullopt,
         {L"\\\\server\\share\\Tavimbo.chm"}},
        {"forward slashes",
         L"C:/A/Tavimbo.exe",
         {L"C:/Tavimbo.chm"},
         L"C:/Tavimbo.chm",
         {L"C:/A/Tavimbo.chm", L"C:/Tavimbo.chm"}},
        {"a colon that names no drive",
         L"\\\\server\\share\\a:\\Tavimbo.exe",
         {},
         std::nullopt,
         {L"\\\\server\\share\\a:\\Tavimbo.chm", L"\\\\server\\share\\Tavimbo.chm"}},
        {"a path with spaces",
         L"C:\\Program Files\\Tavimbo\\Tavimbo.exe",
         {L"C:\\Program Files\\Tavimbo.chm"},
         L"C:\\Program Files\\Tavimbo.chm",
         {L"C:\\Program Files\\Tavimbo\\Tavimbo.chm", L"C:\\Program Files\\Tavimbo.chm"}},
    };
    for (const Case& c : cases) {
        FakeFiles fake{c.files, {}};
        EXPECT_EQ(info::FindHelpFile(c.exe, fake.Query()), c.found) << c.name;
        EXPECT_EQ(fake.asked, c.asked) << c.name;
    }
}

TEST(FindHelpFile, AMissingCandidateOf260CharactersIsTooLong) {
    const std::wstring folder = L"C:\\" + std::wstring(244, L'x');
    ASSERT_EQ(info::HelpFileName(folder + L"x\\Tavimbo.exe").size(), 260u);
    struct Case {
        const char* name;
        std::wstring exe;
        bool exists;
        bool throws;
    };
    const Case cases[] = {
        {"259 characters", folder + L"\\Tavimbo.exe", false, false},
        {"260 characters", folder + L"x\\Tavimbo.exe", false, true},
        {"260 characters that exist", folder + L"x\\Tavimbo.exe", true, false},
        {"extended-length prefix", L"\\\\?\\" + folder + L"x\\Tavimbo.exe", false, false},
    };
    for (const Case& c : cases) {
        FakeFiles fake;
        if (c.exists) {
            fake.files.insert(info::HelpFileName(c.exe));
        }
        try {
            info::FindHelpFile(c.exe, fake.Query());
            EXPECT_FALSE(c.throws) << c.name << ": no error";
        } catch (const platform::Error& error) {
            EXPECT_TRUE(c.throws) << c.name << ": unexpected error";
            EXPECT_EQ(error.Message(), L"The specified path is too long") << c.name;
        }
    }
}

TEST(HelpFileNotFoundText, NamesOnlyTheFile) {
    EXPECT_EQ(info::HelpFileNotFoundText(L"C:\\Tools\\Tavimbo.exe"),
              L"HelpFile Not Found.\r\n\r\nTavimbo.chm");
}

} // namespace
