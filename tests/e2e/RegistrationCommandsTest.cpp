// The registration buttons driven for real: the program and folder pickers, Cancel, the
// Desktop they open on, and the button that shows the folder of the last shortcut.

#include "tests/ExpectedTexts.h"
#include "tests/e2e/ShortcutChecks.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace e2e;

constexpr wchar_t SendToLabel[] = L"送る";
constexpr wchar_t ProgramPickerTitle[] = L"「送る」を受け取るプログラムを指定";
constexpr wchar_t FolderPickerTitle[] = L"「送る」を受け取るフォルダを指定（新規作成も可）";

HWND SelectProgramButton(const StartedProgram& app) {
    return app.Button(L"プログラムを「送る」に登録・削除");
}
HWND SelectFolderButton(const StartedProgram& app) {
    return app.Button(L"フォルダを「送る」に登録・削除");
}
HWND OpenFolderButton(const StartedProgram& app) {
    return app.Button(L"「送る」フォルダを開く");
}

std::wstring SendTo(const std::wstring& name) {
    return SpecialFolder(CSIDL_SENDTO) + name;
}

void MakeFile(const std::wstring& path) {
    std::ofstream(std::filesystem::path(path)) << "MZ";
}

// Waits for a picker with that title, owned by the hidden application window while the main
// window is disabled, and checks what its name box offers.
Box WaitForPicker(const StartedProgram& app, const wchar_t* title, const std::wstring& offered) {
    const Box picker = WaitForBox(app.program.Id());
    EXPECT_TRUE(picker) << "no picker " << Narrow(title);
    if (!picker) {
        return picker;
    }
    EXPECT_EQ(picker.caption, title);
    EXPECT_EQ(ClassName(GetWindow(picker.handle, GW_OWNER)), L"TavimboApplication");
    EXPECT_FALSE(IsWindowEnabled(app.main));
    const HWND name = FileNameBox(picker.handle);
    EXPECT_NE(name, nullptr) << "no file-name box in " << Narrow(title);
    EXPECT_EQ(WindowText(name), offered) << Narrow(title);
    return picker;
}

// Types a path into the picker's name box and confirms it, as a user would.
void Choose(const Box& picker, const std::wstring& path) {
    SendMessageW(FileNameBox(picker.handle), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Click(GetDlgItem(picker.handle, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(picker.handle); }, 10s));
}

void Dismiss(const Box& picker) {
    Click(GetDlgItem(picker.handle, IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(picker.handle); }, 10s));
}

// Creates the shortcut through a picker, then declines to open the folder.
void PickAndCreate(const StartedProgram& app, HWND button, const wchar_t* title,
                   const std::wstring& offered, const std::wstring& typed,
                   const std::wstring& shortcut) {
    Click(button);
    const Box picker = WaitForPicker(app, title, offered);
    ASSERT_TRUE(picker);
    Choose(picker, typed);
    Answer(app.program, expected::Created(SendToLabel, shortcut), IDOK);
    Answer(app.program, expected::OpenFolderQuestion(SendToLabel), IDNO);
}

TEST(RegistrationCommands, PickedProgramIsRegisteredAndCancelChangesNothing) {
    const std::wstring shortcut = SendTo(L"my.app.Lnk");
    const std::wstring own = SendTo(L"Tavimbo.Lnk");
    const Leftovers leftovers({shortcut, own});
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    const std::wstring program = (app.sandbox->Folder() / L"my.app.exe").wstring();
    MakeFile(program);

    PickAndCreate(app, SelectProgramButton(app), ProgramPickerTitle, L"", program, shortcut);
    ExpectShortcutTo(shortcut, program);
    EXPECT_TRUE(IsWindowEnabled(app.main));

    // The next showing offers the previous pick; Cancel shows nothing and changes nothing.
    Click(SelectProgramButton(app));
    const Box picker = WaitForPicker(app, ProgramPickerTitle, program);
    ASSERT_TRUE(picker);
    Dismiss(picker);
    ExpectNoBox(app.program);
    ExpectShortcutTo(shortcut, program);
    {
        const ExplorerWindows explorer;
        Click(OpenFolderButton(app));
        EXPECT_TRUE(explorer.Started(ExplorerSelecting(shortcut)));
    }

    // The executable itself, as the process reports it, is the program's own shortcut.
    PickAndCreate(app, SelectProgramButton(app), ProgramPickerTitle, program,
                  app.sandbox->Exe().wstring(), own);
    Click(app.Button(L"自分を「送る」に登録・削除"));
    Answer(app.program, expected::UpdateQuestion(SendToLabel, L"Tavimbo.Lnk"), IDCANCEL);
    ExpectNoBox(app.program);
    EXPECT_TRUE(app.program.Running());
}

TEST(RegistrationCommands, PickersOpenOnTheDesktopEveryTime) {
    const std::wstring onDesktop = SpecialFolder(CSIDL_DESKTOP) + L"Picked Program.exe";
    const std::wstring elsewhereShortcut = SendTo(L"Elsewhere.Lnk");
    const std::wstring desktopShortcut = SendTo(L"Picked Program.Lnk");
    const Leftovers leftovers({onDesktop, elsewhereShortcut, desktopShortcut});
    MakeFile(onDesktop);
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    const std::wstring elsewhere = (app.sandbox->Folder() / L"Elsewhere.exe").wstring();
    MakeFile(elsewhere);
    // The same name in the program's current folder, where a dialog might open otherwise.
    MakeFile((app.sandbox->Folder() / L"Picked Program.exe").wstring());

    // A pick from another folder first; a bare name then still means a file on the Desktop.
    PickAndCreate(app, SelectProgramButton(app), ProgramPickerTitle, L"", elsewhere,
                  elsewhereShortcut);
    PickAndCreate(app, SelectProgramButton(app), ProgramPickerTitle, elsewhere,
                  L"Picked Program.exe", desktopShortcut);
    ExpectShortcutTo(desktopShortcut, onDesktop);
}

TEST(RegistrationCommands, PickedFolderIsRegisteredUnderItsNameBeforeTheLastDot) {
    const std::wstring shortcut = SendTo(L"Data.Lnk");
    const Leftovers leftovers({shortcut});
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    const std::wstring folder = (app.sandbox->Folder() / L"Data.2024").wstring();
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));

    Click(SelectFolderButton(app));
    const Box cancelled = WaitForPicker(app, FolderPickerTitle, L"");
    ASSERT_TRUE(cancelled);
    Dismiss(cancelled);
    ExpectNoBox(app.program);
    EXPECT_FALSE(IsFile(shortcut));

    PickAndCreate(app, SelectFolderButton(app), FolderPickerTitle, L"", folder, shortcut);
    ExpectShortcutTo(shortcut, folder);
    EXPECT_TRUE(app.program.Running());
}

TEST(RegistrationCommands, OpenFolderShowsTheFolderOfTheLastShortcut) {
    const std::wstring desktopShortcut = SpecialFolder(CSIDL_DESKTOP) + L"Tavimbo.Lnk";
    const Leftovers leftovers({desktopShortcut});
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    {
        // Right after start: the SendTo folder itself, nothing selected.
        const ExplorerWindows explorer;
        Click(OpenFolderButton(app));
        EXPECT_TRUE(explorer.Started(ExplorerOn(SpecialFolder(CSIDL_SENDTO))));
    }
    {
        // Yes to the open-folder question shows the new shortcut selected.
        const ExplorerWindows explorer;
        Click(app.Button(L"デスクトップに登録・削除"));
        Answer(app.program, expected::Created(L"デスクトップ", desktopShortcut), IDOK);
        Answer(app.program, expected::OpenFolderQuestion(L"デスクトップ"), IDYES);
        EXPECT_TRUE(explorer.Started(ExplorerSelecting(desktopShortcut)));
    }
    {
        // The open-folder button follows the last toggle, whichever folder it was.
        const ExplorerWindows explorer;
        Click(OpenFolderButton(app));
        EXPECT_TRUE(explorer.Started(ExplorerSelecting(desktopShortcut)));
    }
    EXPECT_TRUE(app.program.Running());
}

TEST(RegistrationCommands, StartMenuAndStartupShortcutsAreNamedAfterTheTitle) {
    const std::wstring programs = SpecialFolder(CSIDL_PROGRAMS) + L"Tavimbo.Lnk";
    const std::wstring startup = SpecialFolder(CSIDL_STARTUP) + L"Tavimbo.Lnk";
    const Leftovers leftovers({programs, startup});
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    Click(app.Button(L"スタートメニューに登録・削除"));
    Answer(app.program, expected::Created(L"スタートメニューのプログラム", programs), IDOK);
    Answer(app.program, expected::OpenFolderQuestion(L"スタートメニューのプログラム"), IDNO);
    Click(app.Button(L"スタートアップに登録・削除"));
    Answer(app.program, expected::Created(L"スタートアップ", startup), IDOK);
    Answer(app.program, expected::OpenFolderQuestion(L"スタートアップ"), IDNO);
    ExpectShortcutTo(programs, app.sandbox->Exe().wstring());
    ExpectShortcutTo(startup, app.sandbox->Exe().wstring());
}

} // namespace
