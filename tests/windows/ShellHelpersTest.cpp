#include "services/Application_win.h"
#include "platform/Error.h"
#include "platform/SystemLibrary.h"
#include "shortcuts/ShellHelpers_win.h"
#include "tests/e2e/ShortcutChecks.h"
#include "tests/windows/ScratchFolder.h"
#include "shortcuts/ShortcutToggle_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// GetSpecialFolderPath owns its identifier list through the application window.
services::Application& TestApplication() {
    static services::Application application(GetModuleHandleW(nullptr));
    return application;
}

// Letter case ignored, as Windows compares file names: its Startup folder is "Startup", Wine's
// "StartUp".
bool EndsWith(const std::wstring& text, const std::wstring& end) {
    const int length = static_cast<int>(end.size());
    return text.size() >= end.size() &&
           CompareStringOrdinal(text.c_str() + text.size() - end.size(), length, end.c_str(),
                                length, TRUE) == CSTR_EQUAL;
}

class ShellHelpers : public ScratchFolder {
protected:
    void SetUp() override {
        TestApplication();
        ScratchFolder::SetUp();
    }

    static void MakeFolder(const std::wstring& path) {
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << testing::PrintToString(path);
    }
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
    MakeFolder(Path(L"A long folder name"));
    const std::wstring longPath = Write(L"A long folder name\\Another long file.name.txt", "");
    wchar_t shortPath[MAX_PATH]{};
    ASSERT_NE(GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortPath), longPath);
    EXPECT_EQ(shortcuts::GetLongPath(shortPath), longPath);
    EXPECT_EQ(shortcuts::GetLongPath(longPath), longPath);
}

TEST_F(ShellHelpers, LongPathKeepsTheArgumentWhenThereIsNoLongForm) {
    const std::wstring missing = Path(L"MISSIN~1\\NOFILE~1.TXT");
    EXPECT_EQ(shortcuts::GetLongPath(missing), missing);
    EXPECT_EQ(shortcuts::GetLongPath(L""), L"");
}

TEST_F(ShellHelpers, LongPathKeepsTheArgumentWhenTheLongFormDoesNotFit) {
    // Five folders of 60 characters: the long form passes 260 characters, the short one not.
    std::wstring longPath = L"\\\\?\\" + Path(L"");
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
    const std::wstring text = Write(L"plain.txt", "");
    EXPECT_EQ(shortcuts::ResolveShortcutTarget(text), text);
    const std::wstring missing = Path(L"missing.lnk");
    EXPECT_EQ(shortcuts::ResolveShortcutTarget(missing), missing);
}

TEST_F(ShellHelpers, ShortcutTargetIsThePathTheShortcutHolds) {
    // ASCII only: Wine keeps a shortcut's local path in the ANSI code page.
    const std::wstring target = Write(L"memo pad.txt", "");
    const std::wstring link = Path(L"memo.lnk");
    e2e::WriteShortcut(link, {target});
    EXPECT_EQ(shortcuts::ResolveShortcutTarget(link), target);
}

TEST_F(ShellHelpers, ShortcutTargetOfAVirtualItemIsEmpty) {
    const std::wstring link = Path(L"computer.lnk");
    e2e::WriteShortcutToComputer(link);
    EXPECT_EQ(shortcuts::ResolveShortcutTarget(link), L"");
}

// The installer's answer for the next shortcut asked about.
struct InstallerAnswer {
    UINT found = ERROR_SUCCESS;
    INSTALLSTATE state = INSTALLSTATE_LOCAL;
    const wchar_t* path = L"C:\\Office\\WINWORD.EXE";
    bool serverSilent = false;
} answer;

UINT WINAPI FakeShortcutTarget(LPCWSTR, LPWSTR, LPWSTR, LPWSTR) {
    return answer.found;
}

INSTALLSTATE WINAPI FakeComponentPath(LPCWSTR, LPCWSTR, LPWSTR path, DWORD* length) {
    if (answer.serverSilent) {
        Sleep(10000); // a server that answers only after the program's bound
    }
    lstrcpynW(path, answer.path, static_cast<int>(*length));
    return answer.state;
}

TEST(InstalledTarget, IsTheComponentsFileOnlyWhenItIsInstalled) {
    const wchar_t* share = L"\\\\server\\share\\WINWORD.EXE";
    const std::pair<InstallerAnswer, const wchar_t*> cases[] = {
        {{}, InstallerAnswer{}.path},
        {{ERROR_SUCCESS, INSTALLSTATE_SOURCE, share}, share},
        {{ERROR_SUCCESS, INSTALLSTATE_ABSENT}, L""},
        {{ERROR_SUCCESS, INSTALLSTATE_ADVERTISED}, L""},
        {{ERROR_UNKNOWN_PRODUCT}, L""},
        {{ERROR_SUCCESS, INSTALLSTATE_LOCAL, L"02:\\Software\\Word\\Key"}, L""},
        {{ERROR_SUCCESS, INSTALLSTATE_SOURCE, share, true}, L""}, // last: it answers late
    };
    for (const auto& [given, target] : cases) {
        answer = given;
        EXPECT_EQ(
            shortcuts::InstalledTarget(L"C:\\Word.lnk", {FakeShortcutTarget, FakeComponentPath}),
            target)
            << given.found << " " << given.state;
    }
}

TEST(MakeTargetFolder, FailsWhenTheFolderIsNotMadeWithinTheBound) {
    const auto silentServer = [](const std::wstring&) {
        Sleep(10000); // a server that answers only after the bound
        return true;
    };
    EXPECT_FALSE(shortcuts::MakeTargetFolder(L"\\\\server\\share\\new", silentServer, 500));
}

// As Windows 7 without KB2533623 refuses the flag; the path of the last load allowed.
std::wstring loaded;
HMODULE WINAPI LoadWithoutSearchFlags(LPCWSTR name, HANDLE file, DWORD flags) {
    loaded = (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) != 0 ? L"" : name;
    SetLastError(ERROR_INVALID_PARAMETER);
    return loaded.empty() ? nullptr : LoadLibraryExW(name, file, flags);
}

TEST(InstalledTarget, TheInstallerIsLoadedFromSystem32WhereTheSearchFlagIsRefused) {
    wchar_t system[MAX_PATH]{};
    GetSystemDirectoryW(system, MAX_PATH);
    const platform::SystemLibrary msi(L"msi.dll", LoadWithoutSearchFlags);
    EXPECT_EQ(loaded, std::wstring(system) + L"\\msi.dll");
}

TEST_F(ShellHelpers, FileExistsOnlyForFiles) {
    const std::wstring file = Write(L"file.Lnk", "");
    MakeFolder(Path(L"folder.Lnk"));
    EXPECT_TRUE(shortcuts::FileExists(file));
    EXPECT_FALSE(shortcuts::FileExists(Path(L"folder.Lnk")));
    EXPECT_FALSE(shortcuts::FileExists(Path(L"missing.Lnk")));
    EXPECT_FALSE(shortcuts::FileExists(Path(L"*.Lnk")));
}

TEST_F(ShellHelpers, MakeFolderMakesTheMissingParentsAtAnyLengthTheShellTakes) {
    Write(L"file", "");
    const std::wstring deep = Path(L"deep\\" + std::wstring(254 - Path(L"deep").size(), L'd'));
    const std::pair<std::wstring, bool> cases[] = {
        {Path(L"new\\新しい\\folder"), true},
        {deep, true},
        {Path(L"dot\\" + std::wstring(252 - Path(L"dot").size(), L'd') + L". ."), true},
        {Path(L"file\\sub"), false},
    };
    for (const auto& [path, made] : cases) {
        EXPECT_EQ(shortcuts::MakeFolder(path), made) << testing::PrintToString(path);
        EXPECT_EQ(std::filesystem::is_directory(path), made) << testing::PrintToString(path);
    }
}

} // namespace
