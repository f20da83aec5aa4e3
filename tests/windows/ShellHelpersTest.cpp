#include "services/Application_win.h"
#include "platform/Error.h"
#include "platform/ShellLink.h"
#include "shortcuts/ShellHelpers_win.h"
#include "shortcuts/ShortcutToggle_win.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// GetSpecialFolderPath owns its identifier list through the application window.
services::Application& TestApplication() {
    static services::Application application(GetModuleHandleW(nullptr));
    return application;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A scratch folder of its own for each test. Only what a test made is removed afterwards, by
// name, deepest first: nothing is ever deleted by listing a folder.
class ShellHelpers : public testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        wchar_t temp[MAX_PATH]{};
        GetTempPathW(MAX_PATH, temp);
        const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::wstring(temp) + L"tavimbo-" + std::wstring(test.begin(), test.end()) + L"\\";
        MakeFolder(folder_);
    }
    void TearDown() override {
        for (auto made = made_.rbegin(); made != made_.rend(); ++made) {
            if (made->second) {
                RemoveDirectoryW(made->first.c_str());
            } else {
                DeleteFileW(made->first.c_str());
            }
        }
    }

    void MakeFolder(const std::wstring& path) {
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << testing::PrintToString(path);
        made_.emplace_back(path, true);
    }

    std::wstring WriteFile(const std::wstring& name) {
        const std::wstring path = folder_ + name;
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << testing::PrintToString(path);
        CloseHandle(file);
        made_.emplace_back(path, false);
        return path;
    }

    // A file the test had another part of the system write.
    void Adopt(const std::wstring& path) { made_.emplace_back(path, false); }

    std::wstring folder_;

private:
    std::vector<std::pair<std::wstring, bool>> made_; // path, is a folder
};

TEST_F(ShellHelpers, SpecialFolderPathsAreTheUsersFoldersEndingInADelimiter) {
    struct Case {
        int folder;
        const wchar_t* end;
    };
    const Case cases[] = {
        {CSIDL_DESKTOP, L"\\Desktop\\"},
        {CSIDL_PROGRAMS, L"\\Start Menu\\Programs\\"},
        {CSIDL_STARTUP, L"\\Start Menu\\Programs\\StartUp\\"},
        {CSIDL_SENDTO, L"\\AppData\\Roaming\\Microsoft\\Windows\\SendTo\\"},
    };
    for (const Case& c : cases) {
        const std::wstring path = shortcuts::GetSpecialFolderPath(c.folder);
        EXPECT_TRUE(EndsWith(path, c.end)) << c.folder << ": " << testing::PrintToString(path);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << c.folder;
        EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u) << c.folder;
    }
}

TEST_F(ShellHelpers, AFolderWithoutAFileSystemPathIsAnErrorNamingIt) {
    try {
        const std::wstring path = shortcuts::GetSpecialFolderPath(CSIDL_DRIVES);
        ADD_FAILURE() << "no error, path " << testing::PrintToString(path);
    } catch (const platform::Error& error) {
        EXPECT_EQ(error.Message(), L"The special folder 17 has no file-system path");
    }
}

TEST_F(ShellHelpers, LongPathLengthensAShortPath) {
    MakeFolder(folder_ + L"A long folder name");
    const std::wstring longPath = WriteFile(L"A long folder name\\Another long file.name.txt");
    wchar_t shortPath[MAX_PATH]{};
    ASSERT_NE(GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortPath), longPath);
    EXPECT_EQ(shortcuts::GetLongPath(shortPath), longPath);
    EXPECT_EQ(shortcuts::GetLongPath(longPath), longPath);
}

TEST_F(ShellHelpers, LongPathKeepsTheArgumentWhenThereIsNoLongForm) {
    const std::wstring missing = folder_ + L"MISSIN~1\\NOFILE~1.TXT";
    EXPECT_EQ(shortcuts::GetLongPath(missing), missing);
    EXPECT_EQ(shortcuts::GetLongPath(L""), L"");
}

TEST_F(ShellHelpers, LongPathKeepsTheArgumentWhenTheLongFormDoesNotFit) {
    // Five folders of 60 characters: the long form passes 260 characters, the short one not.
    std::wstring longPath = L"\\\\?\\" + folder_;
    for (int level = 0; level < 5; ++level) {
        longPath += std::wstring(60, static_cast<wchar_t>(L'a' + level)) + L"\\";
        MakeFolder(longPath);
    }
    wchar_t shortPath[MAX_PATH]{};
    const DWORD length = GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH);
    ASSERT_GT(length, 4u);
    ASSERT_LT(length, 200u);
    const std::wstring argument(shortPath + 4); // without "\\?\"
    ASSERT_GT(longPath.size() - 4, 261u);
    EXPECT_EQ(shortcuts::GetLongPath(argument), argument);
}

TEST_F(ShellHelpers, ShortcutTargetOfAFileThatIsNoShortcutIsTheFileItself) {
    const std::wstring text = WriteFile(L"plain.txt");
    EXPECT_EQ(shortcuts::ResolveShortcutTarget(text), text);
    const std::wstring missing = folder_ + L"missing.lnk";
    EXPECT_EQ(shortcuts::ResolveShortcutTarget(missing), missing);
}

TEST_F(ShellHelpers, ShortcutTargetIsThePathTheShortcutHolds) {
    // ASCII only: Wine keeps a shortcut's local path in the ANSI code page.
    const std::wstring target = WriteFile(L"memo pad.txt");
    const std::wstring link = folder_ + L"memo.lnk";
    ASSERT_EQ(shortcuts::SaveAndReadBack(target, link), S_OK);
    Adopt(link);
    EXPECT_EQ(shortcuts::ResolveShortcutTarget(link), target);
}

TEST_F(ShellHelpers, ShortcutTargetOfAVirtualItemIsEmpty) {
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    const platform::ItemIdList owner(computer);
    const platform::ShellLink shortcut;
    ASSERT_EQ(shortcut.Link().SetIDList(owner.get()), S_OK);
    const std::wstring link = folder_ + L"computer.lnk";
    ASSERT_EQ(shortcut.File().Save(link.c_str(), FALSE), S_OK);
    Adopt(link);
    EXPECT_EQ(shortcuts::ResolveShortcutTarget(link), L"");
}

TEST_F(ShellHelpers, FileExistsOnlyForFiles) {
    const std::wstring file = WriteFile(L"file.Lnk");
    MakeFolder(folder_ + L"folder.Lnk");
    EXPECT_TRUE(shortcuts::FileExists(file));
    EXPECT_FALSE(shortcuts::FileExists(folder_ + L"folder.Lnk"));
    EXPECT_FALSE(shortcuts::FileExists(folder_ + L"missing.Lnk"));
    EXPECT_FALSE(shortcuts::FileExists(folder_ + L"*.Lnk"));
}

} // namespace
