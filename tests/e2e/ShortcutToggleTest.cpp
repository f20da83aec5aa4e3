// The shortcut toggle as a user meets it: create, Cancel, update and delete in each of the four
// folders, with every box's text compared exactly, and the shortcut files checked.

#include "tests/ExpectedTexts.h"
#include "shortcuts/ShortcutFile.h"
#include "tests/e2e/ShortcutChecks.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace e2e;

constexpr int Ok = IDOK;
constexpr int Yes = IDYES;
constexpr int No = IDNO;
constexpr int Cancel = IDCANCEL;

struct Folder {
    const char* name;
    const wchar_t* button;
    int csidl;
    std::wstring label;
};

void PrintTo(const Folder& folder, std::ostream* out) {
    *out << folder.name;
}

const Folder SendTo{"SendTo", L"自分を「送る」に登録・削除", CSIDL_SENDTO, L"送る"};
const Folder Desktop{"Desktop", L"デスクトップに登録・削除", CSIDL_DESKTOP, L"デスクトップ"};
const Folder Programs{"Programs", L"スタートメニューに登録・削除", CSIDL_PROGRAMS,
                      L"スタートメニューのプログラム"};
const Folder Startup{"Startup", L"スタートアップに登録・削除", CSIDL_STARTUP, L"スタートアップ"};

std::wstring Q1(const Folder& folder) {
    return expected::UpdateQuestion(folder.label, L"Tavimbo.Lnk");
}
std::wstring Q2(const Folder& folder) {
    return expected::OpenFolderQuestion(folder.label);
}

// A shortcut to the target as another program might have written it, with extras.
LinkContent WithExtras(const std::wstring& target) {
    return {target, L"--old-argument", L"C:\\", L"written by the test"};
}

std::wstring OwnShortcut(const Folder& folder) {
    return SpecialFolder(folder.csidl) + L"Tavimbo.Lnk";
}

// A plain message: one OK button, no icon, centred on the screen's work area.
void ExpectPlainMessage(const Box& box) {
    EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"OK"});
    for (HWND child : Descendants(box.handle)) {
        EXPECT_EQ(SendMessageW(child, STM_GETICON, 0, 0), 0) << "an icon in the message";
    }
    RECT rect{}, area{};
    GetWindowRect(box.handle, &rect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_LE(std::abs((rect.left + rect.right) / 2 - (area.left + area.right) / 2), 2);
    EXPECT_LE(std::abs((rect.top + rect.bottom) / 2 - (area.top + area.bottom) / 2), 40);
}

// Clicks posted to the window while its box is open: the toggle's button again, a button that
// opens the file dialog, and the About button's command, sent as its notification would be.
void ClickOthersWhileTheBoxIsOpen(const StartedProgram& app, const Folder& folder) {
    Click(app.Button(folder.button));
    Click(app.Button(L"プログラムを「送る」に登録・削除"));
    const HWND about = app.Button(L"バージョン情報");
    PostMessageW(app.main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(about), BN_CLICKED),
                 reinterpret_cast<LPARAM>(about));
    // The program takes posted messages first in, first out: once a check box ticked by a
    // message posted after the clicks shows the tick, every click has been handled.
    const HWND checkBox = app.Button(L"確認する");
    PostMessageW(checkBox, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(
        WaitUntil([&] { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    SendMessageW(checkBox, BM_SETCHECK, BST_UNCHECKED, 0);
    std::size_t boxes = 0;
    for (HWND window : TopWindows(app.program.Id())) {
        boxes += ClassName(window) == L"#32770" ? 1 : 0;
    }
    EXPECT_EQ(boxes, 1U) << "a command started inside another";
}

// A temporary of a run of this computer that is over: Windows refuses to open number 0.
std::wstring EndedRunsTemporary() {
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1]{};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(computer, &length);
    return shortcuts::TemporaryShortcutName({computer, 0, 1}, 0);
}

class ShortcutToggle : public testing::TestWithParam<Folder> {};

TEST_P(ShortcutToggle, CreatesLeavesUpdatesAndDeletesTheProgramsShortcut) {
    const Folder& folder = GetParam();
    const std::wstring shortcut = OwnShortcut(folder);
    // What an ended run's write left there goes as the program starts.
    const std::wstring left = SpecialFolder(folder.csidl) + EndedRunsTemporary();
    const Leftovers leftovers({shortcut, left});
    std::ofstream(std::filesystem::path(left)) << "left";
    StartedProgram app;
    const ExplorerWindows explorer;
    ASSERT_NE(app.main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsFile(left); }));
    const std::wstring exe = app.sandbox->Exe().wstring();

    // Create; the main window is disabled while the message is open.
    Click(app.Button(folder.button));
    const Box created = WaitForBox(app.program.Id());
    ASSERT_TRUE(created);
    EXPECT_EQ(created.caption, L"Tavimbo");
    EXPECT_EQ(created.text, expected::Created(folder.label, shortcut));
    EXPECT_FALSE(IsWindowEnabled(app.main));
    ExpectPlainMessage(created);
    ClickOthersWhileTheBoxIsOpen(app, folder);
    created.Press(Ok);
    Answer(app.program, Q2(folder), No);
    ExpectNoBox(app.program);
    EXPECT_TRUE(IsWindowEnabled(app.main));
    ExpectShortcutTo(shortcut, exe);

    // Cancel writes nothing: the extras of a shortcut written by someone else stay.
    WriteShortcut(shortcut, WithExtras(exe));
    Click(app.Button(folder.button));
    Answer(app.program, Q1(folder), Cancel);
    ExpectNoBox(app.program);
    EXPECT_EQ(ReadLink(shortcut).arguments, L"--old-argument");

    // Update: a fresh shortcut holding only the target replaces it.
    Click(app.Button(folder.button));
    Answer(app.program, Q1(folder), Yes);
    Answer(app.program, expected::Updated(folder.label, shortcut), Ok);
    Answer(app.program, Q2(folder), No);
    ExpectShortcutTo(shortcut, exe);

    // Delete, then open the folder that held it.
    Click(app.Button(folder.button));
    Answer(app.program, Q1(folder), No);
    Answer(app.program, expected::Deleted(folder.label, shortcut), Ok);
    Answer(app.program, Q2(folder), Yes);
    EXPECT_FALSE(IsFile(shortcut));
    EXPECT_TRUE(explorer.Started(ExplorerOn(SpecialFolder(folder.csidl))));
    EXPECT_TRUE(app.program.Running());
}

INSTANTIATE_TEST_SUITE_P(AllFolders, ShortcutToggle,
                         testing::Values(SendTo, Desktop, Programs, Startup),
                         [](const testing::TestParamInfo<Folder>& tested) {
                             return tested.param.name;
                         });

TEST(ShortcutToggleFailures, AShortcutHeldOpenIsReportedAsNotDeleted) {
    const std::wstring shortcut = OwnShortcut(SendTo);
    const Leftovers leftovers({shortcut});
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    Click(app.Button(SendTo.button));
    Answer(app.program, expected::Created(SendTo.label, shortcut), Ok);
    Answer(app.program, Q2(SendTo), No);

    // Open without delete sharing, as a program reading the file might hold it.
    const HANDLE held =
        CreateFileW(shortcut.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Click(app.Button(SendTo.button));
    Answer(app.program, Q1(SendTo), No);
    Answer(app.program, expected::DeleteFailed(SendTo.label, shortcut), Ok);
    Answer(app.program, Q2(SendTo), No);
    CloseHandle(held);
    EXPECT_TRUE(IsFile(shortcut));
    EXPECT_TRUE(app.program.Running());
}

TEST(ShortcutToggleFailures, AReadOnlyShortcutIsReportedAsNotDeleted) {
    // Only the delete: Wine's shell link, unlike Windows', saves over a read-only file.
    const std::wstring shortcut = OwnShortcut(Programs);
    const Leftovers leftovers({shortcut});
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    WriteShortcut(shortcut, WithExtras(L"C:\\windows\\notepad.exe"));
    ASSERT_TRUE(SetFileAttributesW(shortcut.c_str(), FILE_ATTRIBUTE_READONLY));

    Click(app.Button(Programs.button));
    Answer(app.program, Q1(Programs), No);
    Answer(app.program, expected::DeleteFailed(Programs.label, shortcut), Ok);
    Answer(app.program, Q2(Programs), No);
    const LinkContent content = ReadLink(shortcut);
    EXPECT_EQ(content.target, L"C:\\windows\\notepad.exe");
    EXPECT_EQ(content.arguments, L"--old-argument");
    EXPECT_TRUE(app.program.Running());
}

TEST(ShortcutToggleFailures, AFolderAtTheShortcutPathIsReportedAsNotCreated) {
    const std::wstring shortcut = OwnShortcut(Desktop);
    const Leftovers leftovers({shortcut});
    ASSERT_TRUE(CreateDirectoryW(shortcut.c_str(), nullptr));
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    Click(app.Button(Desktop.button));
    Answer(app.program, expected::CreateFailed(Desktop.label, shortcut), Ok);
    Answer(app.program, Q2(Desktop), No);
    ExpectNoBox(app.program);
    const DWORD attributes = GetFileAttributesW(shortcut.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_TRUE(app.program.Running());
}

// Moves a folder aside for one test and puts it back afterwards, whatever happens.
class FolderMovedAside {
public:
    explicit FolderMovedAside(std::wstring folder)
        : folder_(std::move(folder)), aside_(folder_ + L".aside") {
        moved_ = MoveFileW(folder_.c_str(), aside_.c_str()) != FALSE;
    }
    ~FolderMovedAside() {
        if (moved_) {
            RemoveDirectoryW(folder_.c_str()); // only if something made it again, empty
            MoveFileW(aside_.c_str(), folder_.c_str());
        }
    }
    FolderMovedAside(const FolderMovedAside&) = delete;
    FolderMovedAside& operator=(const FolderMovedAside&) = delete;

    bool Moved() const { return moved_; }

private:
    std::wstring folder_;
    std::wstring aside_;
    bool moved_ = false;
};

TEST(ShortcutToggleFailures, AMissingFolderIsAnErrorAndNothingIsWritten) {
    std::wstring startup = SpecialFolder(Startup.csidl);
    startup.pop_back();
    const std::wstring driveRoot = L"C:\\Tavimbo.Lnk";
    const Leftovers leftovers({driveRoot});
    StartedProgram app;
    const ExplorerWindows explorer;
    ASSERT_NE(app.main, nullptr);
    {
        const FolderMovedAside aside(startup);
        ASSERT_TRUE(aside.Moved());
        Click(app.Button(Startup.button));
        Answer(app.program, L"The special folder 7 has no file-system path.", IDOK);
        ExpectNoBox(app.program);
        EXPECT_FALSE(IsFile(driveRoot));
        EXPECT_FALSE(IsFile(startup + L"\\Tavimbo.Lnk"));
    }
    // The failed toggle did not get as far as naming a shortcut.
    Click(app.Button(L"「送る」フォルダを開く"));
    EXPECT_TRUE(explorer.Started(ExplorerOn(SpecialFolder(SendTo.csidl))));
    EXPECT_TRUE(app.program.Running());
}

} // namespace
