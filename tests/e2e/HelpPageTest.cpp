// The help page as a user meets it: the About box, the help file, Properties and the web pages.
// What the program asks the shell to open reaches the recorder that the test prefix registers
// for ".chm", http and https (tests/recorder), which writes it to ShellRecorder.log.

#include "services/AppInfo.h"
#include "info/UkraineClock.h"
#include "tests/e2e/Driver.h"
#include "Version.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

using namespace e2e;
namespace fs = std::filesystem;

// A help-page command, run either by its hidden shortcut or by its button.
struct Command {
    const char* name;
    WORD key;
    unsigned modifiers;
    const wchar_t* button; // nullptr: by the key
};

void RunCommand(const StartedProgram& app, const Command& command) {
    if (command.button == nullptr) {
        PressKey(app.main, command.key, command.modifiers);
    } else {
        Click(app.Button(command.button));
    }
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos;
         start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start)); // after the last CR LF
    return lines;
}

// The names as Windows' own locale data gives them for Ukrainian.
info::DateNames UkrainianNames() {
    auto name = [](LCTYPE type) {
        wchar_t text[80]{};
        GetLocaleInfoW(1058, type, text, 80);
        return std::wstring(text);
    };
    info::DateNames names;
    for (LCTYPE i = 0; i < 12; ++i) {
        names.months[i] = name(LOCALE_SMONTHNAME1 + i);
    }
    for (LCTYPE i = 0; i < 7; ++i) {
        names.weekdays[i] = name(LOCALE_SDAYNAME1 + i);
    }
    return names;
}

info::Instant UtcNow() {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    using namespace std::chrono;
    return info::Instant(local_days{year{now.wYear} / now.wMonth / now.wDay} + hours{now.wHour} +
                         minutes{now.wMinute} + seconds{now.wSecond} +
                         milliseconds{now.wMilliseconds});
}

fs::path RecorderLog() {
    return BuiltExe().parent_path() / L"ShellRecorder.log";
}

std::wstring ReadUtf8(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Widen(std::string(std::istreambuf_iterator<char>(file), {}));
}

// The command lines the recorder was started with since the log was cleared.
std::vector<std::wstring> Recorded(std::size_t expected) {
    std::vector<std::wstring> lines;
    WaitUntil([&] {
        lines = Lines(ReadUtf8(RecorderLog()));
        lines.pop_back();
        return lines.size() >= expected;
    });
    return lines;
}

// The argument the recorder got: the shell removed the quotes the program put around it.
std::wstring RecordedArgument(const std::wstring& commandLine) {
    const std::size_t quote = commandLine.find(L"\" \"");
    if (quote == std::wstring::npos || commandLine.back() != L'"') {
        return L"unexpected command line " + commandLine;
    }
    return commandLine.substr(quote + 3, commandLine.size() - quote - 4);
}

class HelpPage : public testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        fs::remove(RecorderLog(), ignored);
        // Nothing above the sandboxes may hold a help file.
        ASSERT_FALSE(fs::exists(sandbox.Folder().parent_path() / L"Tavimbo.chm"));
        ASSERT_FALSE(fs::exists(L"C:\\Tavimbo.chm"));
    }

    Sandbox sandbox;
};

// The mouse cursor that the screen shows with the pointer over the middle of a window.
HCURSOR CursorOver(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    CURSORINFO info{};
    info.cbSize = sizeof info;
    WaitUntil(
        [&] {
            GetCursorInfo(&info);
            return WindowFromPoint(info.ptScreenPos) == window;
        },
        2s);
    Sleep(200);
    GetCursorInfo(&info);
    return info.hCursor;
}

// hand: the cursor the program shows over its main window's buttons.
void ExpectAboutBox(const Box& box, HWND main, const fs::path& exe, info::Instant before,
                    HCURSOR hand) {
    const info::Instant after = UtcNow();
    ASSERT_TRUE(box) << "no About box";
    EXPECT_EQ(box.caption, L"Tavimbo");
    EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"&OK"});
    EXPECT_EQ(GetWindowLongPtrW(box.handle, GWL_STYLE) & WS_SYSMENU, 0) << "system menu";
    EXPECT_EQ(LOWORD(SendMessageW(box.handle, DM_GETDEFID, 0, 0)), IDOK) << "default button";
    EXPECT_EQ(CursorOver(GetDlgItem(box.handle, IDOK)), hand) << "hand cursor over the button";
    EXPECT_NE(CursorOver(GetDlgItem(box.handle, 0xFFFF)), hand) << "no hand over the text";
    const HWND icon = FindChild(box.handle, L"Static");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(icon, GWL_STYLE) & SS_TYPEMASK, SS_ICON) << "the icon comes first";
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0) << "an icon is shown";

    const std::vector<std::wstring> lines = Lines(box.text);
    ASSERT_EQ(lines.size(), 11u) << Narrow(box.text);
    EXPECT_EQ(lines[0],
              L"Tavimbo V1.1 (" + std::wstring(L"" TAVIMBO_FILE_VERSION_TEXT) + L") Release Build");
    EXPECT_EQ(lines[1], exe.wstring());
    EXPECT_EQ(lines[2], L"CurrentScreen " + std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) +
                            L" x " + std::to_wstring(GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(lines[3], L"");
    EXPECT_EQ(lines[4], services::CopyrightText);
    EXPECT_EQ(lines[5], services::ContactMail);
    EXPECT_EQ(lines[6], services::HomePageUrl);
    EXPECT_EQ(lines[7], L"");
    const info::DateNames names = UkrainianNames();
    EXPECT_TRUE(lines[8] + L"\r\n" + lines[9] == info::UkraineClockText(before, names) ||
                lines[8] + L"\r\n" + lines[9] == info::UkraineClockText(after, names))
        << Narrow(lines[8] + L" / " + lines[9]);
    EXPECT_EQ(lines[10], L"") << "the text ends in CR LF";

    RECT boxRect{}, mainRect{};
    GetWindowRect(box.handle, &boxRect);
    GetWindowRect(main, &mainRect);
    EXPECT_NEAR(boxRect.left + boxRect.right, mainRect.left + mainRect.right, 1)
        << "centred across";
    EXPECT_NEAR(boxRect.top + boxRect.bottom, mainRect.top + mainRect.bottom, 1) << "centred down";
}

TEST_F(HelpPage, CtrlEnterAndTheButtonShowTheAboutBoxClosedByEnterAndEsc) {
    StartedProgram app(sandbox.Exe());
    ASSERT_NE(app.main, nullptr);
    // Away from the work area's middle, so that centring over the window is what is seen, and
    // far enough from its edges that the box fits there, on a screen of 1024 by 768 too.
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    SetWindowPos(app.main, nullptr, area.left + (area.right - area.left) / 4,
                 area.top + (area.bottom - area.top) / 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // The program's own handles differ from this process's: take its hand from a button.
    const HCURSOR hand = CursorOver(app.Button(L"プログラムを「送る」に登録・削除"));

    struct Case {
        Command command;
        WORD closeKey;
    };
    for (const Case& c : {Case{{"Ctrl+Enter", VK_RETURN, Ctrl, nullptr}, VK_RETURN},
                          Case{{"button", 0, None, L"バージョン情報"}, VK_ESCAPE}}) {
        SCOPED_TRACE(c.command.name);
        const info::Instant before = UtcNow();
        RunCommand(app, c.command);
        const Box box = WaitForBox(app.program.Id());
        ExpectAboutBox(box, app.main, sandbox.Exe(), before, hand);
        EXPECT_FALSE(IsWindowEnabled(app.main)) << "modal";
        PressKey(box.handle, c.closeKey);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.handle); }, 5s)) << "still open";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.main) != FALSE; }, 5s));
    }
    EXPECT_TRUE(app.program.Running());
}

// The colour at a point of the About box's client area, as the screen shows it.
COLORREF ClientPixel(HWND box, POINT point) {
    ClientToScreen(box, &point);
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST_F(HelpPage, EveryPaintOfTheAboutBoxDrawsANewGradientFromWhite) {
    StartedProgram app(sandbox.Exe());
    ASSERT_NE(app.main, nullptr);
    PressKey(app.main, VK_RETURN, Ctrl);
    const Box box = WaitForBox(app.program.Id());
    ASSERT_TRUE(box);
    RECT client{};
    GetClientRect(box.handle, &client);
    std::vector<COLORREF> farCorners;
    for (int paint = 0; paint < 4; ++paint) {
        RedrawWindow(box.handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Sleep(200);
        EXPECT_EQ(ClientPixel(box.handle, {0, 0}), RGB(255, 255, 255)) << "paint " << paint;
        farCorners.push_back(ClientPixel(box.handle, {client.right - 1, client.bottom - 1}));
    }
    std::sort(farCorners.begin(), farCorners.end());
    EXPECT_EQ(std::unique(farCorners.begin(), farCorners.end()) - farCorners.begin(), 4)
        << "the colour is drawn anew on every paint";

    // A picture of the box, for a person to look at: build/screenshot-about.png.
    RECT rect{};
    GetWindowRect(box.handle, &rect);
    const fs::path picture = BuiltExe().parent_path().parent_path() / L"screenshot-about.png";
    const RECT margin{std::max(0L, rect.left - 20), std::max(0L, rect.top - 20), rect.right + 20,
                      rect.bottom + 20};
    EXPECT_EQ(SaveScreenPicture(margin, picture), S_OK);
    box.Press(IDOK);
}

TEST_F(HelpPage, WithoutAHelpFileF1AndTheButtonSayItIsNotFound) {
    StartedProgram app(sandbox.Exe());
    ASSERT_NE(app.main, nullptr);
    for (const Command& command :
         {Command{"F1", VK_F1, None, nullptr}, Command{"button", 0, None, L"ヘルプ表示"}}) {
        SCOPED_TRACE(command.name);
        RunCommand(app, command);
        const Box box = WaitForBox(app.program.Id());
        ASSERT_TRUE(box) << "no message";
        EXPECT_EQ(box.caption, L"Tavimbo");
        EXPECT_EQ(box.text, L"HelpFile Not Found.\r\n\r\nTavimbo.chm");
        box.Press(IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.handle); }, 5s));
    }
    EXPECT_FALSE(fs::exists(RecorderLog())) << "the shell was asked to open something";
}

TEST_F(HelpPage, TheShellOpensTheNearestHelpFileUpwards) {
    const fs::path root = sandbox.Folder();
    const fs::path builtHelp = BuiltExe().parent_path() / L"Tavimbo.chm";
    if (!fs::exists(builtHelp)) {
        GTEST_SKIP() << "this build has no help file (no help compiler, chmcmd)";
    }
    struct Case {
        const char* name;
        fs::path exe;
        fs::path help;
        fs::path folderNamedLikeIt;
    };
    const Case cases[] = {
        {"beside the executable",
         root / L"Beside" / L"Tavimbo.exe",
         root / L"Beside" / L"Tavimbo.chm",
         {}},
        {"two levels up", root / L"A" / L"B" / L"Tavimbo.exe", root / L"Tavimbo.chm", {}},
        {"behind a folder of the same name", root / L"C D" / L"Tavimbo.exe", root / L"Tavimbo.chm",
         root / L"C D" / L"Tavimbo.chm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ignored;
        fs::remove(RecorderLog(), ignored);
        fs::remove(root / L"Tavimbo.chm", ignored);
        fs::create_directories(c.exe.parent_path());
        fs::copy_file(BuiltExe(), c.exe, fs::copy_options::overwrite_existing);
        fs::copy_file(builtHelp, c.help, fs::copy_options::overwrite_existing);
        if (!c.folderNamedLikeIt.empty()) {
            fs::create_directories(c.folderNamedLikeIt);
        }
        StartedProgram app(c.exe);
        ASSERT_NE(app.main, nullptr);
        PressKey(app.main, VK_F1);
        const std::vector<std::wstring> recorded = Recorded(1);
        ASSERT_EQ(recorded.size(), 1u);
        EXPECT_EQ(RecordedArgument(recorded[0]), c.help.wstring());
        EXPECT_FALSE(WaitForBox(app.program.Id(), 300ms)) << "a message besides";
    }
}

std::vector<std::wstring> FileNames(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The portable zip as a user meets it: tests/unpack-package unpacks it into a fresh folder.
TEST_F(HelpPage, TheUnpackedZipOpensItsOwnHelpFileAndKeepsItsSettingsBesideTheProgram) {
    const fs::path folder = L"C:\\tavimbo-package";
    ASSERT_EQ(FileNames(folder),
              (std::vector<std::wstring>{L"CHANGELOG.txt", L"LICENSE.txt", L"README-ja.txt",
                                         L"Tavimbo.chm", L"Tavimbo.exe"}));
    // Where a settings file with a relative or misbuilt path would land instead; other runs of
    // the program may have left one there before, so what counts is that none changes.
    const std::vector<fs::path> elsewhere = {fs::current_path() / L"Tavimbo.ini",
                                             fs::path(L"C:\\windows\\Tavimbo.ini"),
                                             SpecialFolder(CSIDL_APPDATA) + L"Tavimbo.ini",
                                             SpecialFolder(CSIDL_LOCAL_APPDATA) + L"Tavimbo.ini",
                                             BuiltExe().parent_path() / L"Tavimbo.ini"};
    const auto written = [](const fs::path& path) {
        std::error_code missing;
        const fs::file_time_type time = fs::last_write_time(path, missing);
        return missing ? fs::file_time_type::min() : time;
    };
    std::vector<fs::file_time_type> before;
    for (const fs::path& path : elsewhere) {
        before.push_back(written(path));
    }
    {
        StartedProgram app(folder / L"Tavimbo.exe");
        ASSERT_NE(app.main, nullptr);
        PressKey(app.main, VK_F1);
        const std::vector<std::wstring> recorded = Recorded(1);
        ASSERT_EQ(recorded.size(), 1u);
        EXPECT_EQ(RecordedArgument(recorded[0]), (folder / L"Tavimbo.chm").wstring());
        PressKey(app.main, VK_ESCAPE);
        EXPECT_EQ(app.program.WaitForExit(), 0u);
    }
    EXPECT_EQ(FileNames(folder),
              (std::vector<std::wstring>{L"CHANGELOG.txt", L"LICENSE.txt", L"README-ja.txt",
                                         L"Tavimbo.chm", L"Tavimbo.exe", L"Tavimbo.ini"}));
    for (std::size_t i = 0; i < elsewhere.size(); ++i) {
        EXPECT_TRUE(written(elsewhere[i]) == before[i]) << Narrow(elsewhere[i].wstring());
    }
}

TEST_F(HelpPage, TheWebButtonsAskTheShellToOpenTheTwoAddresses) {
    StartedProgram app(sandbox.Exe());
    ASSERT_NE(app.main, nullptr);
    Click(app.Button(L"開発支援"));
    ASSERT_EQ(Recorded(1).size(), 1u);
    Click(app.Button(L"ホームページ"));
    const std::vector<std::wstring> recorded = Recorded(2);
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(RecordedArgument(recorded[0]),
              std::wstring(services::HomePageUrl) + L"software/index3.html");
    EXPECT_EQ(RecordedArgument(recorded[1]), services::HomePageUrl);
}

// Windows opens the Properties sheet, a dialog with tabs in the program's process, closed here;
// Wine refuses it (ShellExecuteExW fails with error 87 and shows nothing). So only this much is
// seen from outside: the request raises no message of the program's own and leaves it ready for
// the next command. The request itself is checked under Wine by FilePropertiesRequest's test.
TEST_F(HelpPage, AltEnterAndTheButtonAskForPropertiesWithoutAMessageOfTheirOwn) {
    StartedProgram app(sandbox.Exe());
    ASSERT_NE(app.main, nullptr);
    for (const Command& command : {Command{"Alt+Enter", VK_RETURN, Alt, nullptr},
                                   Command{"button", 0, None, L"プロパティ表示"}}) {
        SCOPED_TRACE(command.name);
        RunCommand(app, command);
        const Box box = WaitForBox(app.program.Id(), 3s);
        if (box && FindChild(box.handle, L"SysTabControl32") != nullptr) {
            PostMessageW(box.handle, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.handle); }, 5s)) << "sheet open";
        } else {
            EXPECT_FALSE(box) << "a message appeared: " << Narrow(box.text);
        }
        EXPECT_TRUE(IsWindowEnabled(app.main));
    }
    // Still answering: the next command works.
    PressKey(app.main, VK_F1);
    const Box box = WaitForBox(app.program.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text, L"HelpFile Not Found.\r\n\r\nTavimbo.chm");
    box.Press(IDOK);
}

} // namespace
