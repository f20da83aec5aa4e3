// The main window at other resolutions than 96 DPI, and screenshots of it for a person to judge.

#include "app/Layout.h"
#include "tests/e2e/Driver.h"

#include <commctrl.h>
#include <windowsx.h>

#include <gtest/gtest.h>

namespace {

using namespace e2e;

SIZE OuterSize(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

int Height(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds.bottom - bounds.top;
}

SIZE SmallestSize(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    return OuterSize(window);
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST(Dpi, ChangingTheResolutionScalesTheWindowAndItsLayout) {
    const StartedProgram app;
    const HWND main = app.main;
    ASSERT_NE(main, nullptr);
    const int dpi = ScreenDpi();
    const HWND button = FindChild(main, L"Button", L"プログラムを「送る」に登録・削除");
    SetWindowPos(main, nullptr, 0, 0, app::Scale(300, dpi), app::Scale(300, dpi),
                 SWP_NOMOVE | SWP_NOZORDER);
    const HWND tabs = app.tabs;
    const auto clientHeight = [&] {
        RECT client{};
        GetClientRect(main, &client);
        return client.bottom;
    };
    const auto tabHeight = [&] {
        const RECT tab = TabItemRect(tabs, 0);
        return tab.bottom - tab.top;
    };
    const double buttonShare = double(Height(button)) / clientHeight();
    const int tabHeightBefore = tabHeight();

    // As if the window had moved to a monitor of one and a half times the resolution.
    const int newDpi = dpi * 3 / 2;
    RECT suggested{10, 20, 10 + app::Scale(300, newDpi), 20 + app::Scale(300, newDpi)};
    SendMessageWithData(main, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), &suggested,
                        sizeof suggested);

    EXPECT_EQ(OuterSize(main).cx, suggested.right - suggested.left);
    EXPECT_EQ(OuterSize(main).cy, suggested.bottom - suggested.top);
    // The font and the tab strip grow with the resolution; the buttons keep their share.
    EXPECT_NEAR(tabHeight(), tabHeightBefore * 3 / 2, 2);
    EXPECT_NEAR(double(Height(button)) / clientHeight(), buttonShare, 0.02);
    const SIZE smallest = SmallestSize(main);
    EXPECT_EQ(smallest.cx, app::Scale(280, newDpi));
    EXPECT_EQ(smallest.cy, app::Scale(280, newDpi));
}

TEST(Dpi, AChangeOfResolutionBeforeTheWindowIsFirstShownKeepsTheSavedSize) {
    // As when the placement or the first showing puts it on a monitor at another resolution;
    // sent while an error of the command line holds the window back.
    const Sandbox sandbox;
    std::ofstream(sandbox.Ini()) << "[POSITION]\nLeft=100\nTop=80\nRight=600\nBottom=560\n";
    const Program program(sandbox.Exe(), L"\"C:\\a|b.txt\"");
    const Box error = WaitForBox(program.Id());
    const HWND main = FindWindowW(L"TForm1", nullptr);
    const int dpi = ScreenDpi() * 3 / 2;
    SIZE pending{500, 480};
    EXPECT_EQ(SendMessageWithData(main, WM_GETDPISCALEDSIZE, dpi, &pending, sizeof pending), TRUE);
    RECT suggested{100, 80, 100 + 750, 80 + 720};
    SendMessageWithData(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), &suggested, sizeof suggested);
    error.Press(IDOK);
    ASSERT_EQ(program.MainWindow(), main);
    EXPECT_EQ(std::pair(OuterSize(main).cx, OuterSize(main).cy), std::pair(500L, 480L));
}

TEST(Dpi, TheAboutBoxIsMadeForItsMonitorsResolutionAndAgainWhenItChanges) {
    const StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    const int dpi = ScreenDpi();
    PressKey(app.main, VK_RETURN, Ctrl);
    const Box about = WaitForBox(app.program.Id());
    ASSERT_TRUE(about) << "no About box";
    // The icon at the system's icon size, the button as tall as the font makes it.
    const int firstButton = Height(GetDlgItem(about.handle, IDOK));
    // As made, then as if moved to a monitor at one and a half times the resolution, and back.
    for (const int newDpi : {dpi, dpi * 3 / 2, dpi}) {
        SCOPED_TRACE(newDpi);
        RECT suggested{10, 20, 400, 300};
        SendMessageWithData(about.handle, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), &suggested,
                            sizeof suggested);
        EXPECT_EQ(OuterSize(GetDlgItem(about.handle, 20)).cx, app::Scale(32, newDpi));
        EXPECT_NEAR(double(Height(GetDlgItem(about.handle, IDOK))) / firstButton,
                    double(newDpi) / dpi, 0.1);
    }
    about.Press(IDOK);
}

// A picture of one window alone, as the screen shows it, to build/screenshot-<dpi>dpi-<name>.png;
// the README shows some of them (copied to docs/).
void Photograph(HWND window, int dpi, const std::wstring& name) {
    // The pointer far away: no button hovered, no tooltip.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300); // the X server shows what Wine painted a moment later
    RECT rect{};
    GetWindowRect(window, &rect);
    const std::filesystem::path picture =
        BuiltExe().parent_path().parent_path() /
        (L"screenshot-" + std::to_wstring(dpi) + L"dpi-" + name + L".png");
    EXPECT_EQ(SaveScreenPicture(rect, picture), S_OK) << Narrow(name);
}

TEST(Screenshot, EveryPageTheAboutBoxAndAQuestionAtTheScreensResolution) {
    const StartedProgram app;
    const HWND main = app.main;
    ASSERT_NE(main, nullptr);
    const int dpi = ScreenDpi();
    const SIZE smallest = SmallestSize(main);
    EXPECT_EQ(smallest.cx, app::Scale(280, dpi));
    EXPECT_EQ(smallest.cy, app::Scale(280, dpi));
    SetWindowPos(main, HWND_TOP, 40, 40, app::Scale(320, dpi), app::Scale(300, dpi), 0);

    const HWND tabs = app.tabs;
    const wchar_t* const pages[] = {L"sendto", L"settings", L"help"};
    for (int page = 0; page < 3; ++page) {
        SelectTab(tabs, page);
        Photograph(main, dpi, pages[page]);
    }

    PressKey(main, VK_RETURN, Ctrl);
    const Box about = WaitForBox(app.program.Id());
    ASSERT_TRUE(about) << "no About box";
    Photograph(about.handle, dpi, L"about");
    about.Press(IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about.handle); }, 5s));

    // The question before closing, asked once 確認する is ticked.
    SelectTab(tabs, 1);
    Click(FindChild(main, L"Button", L"確認する"));
    ASSERT_TRUE(WaitUntil(
        [&] { return Button_GetCheck(FindChild(main, L"Button", L"確認する")) == BST_CHECKED; },
        5s));
    PostMessageW(main, WM_CLOSE, 0, 0);
    const Box question = WaitForBox(app.program.Id());
    ASSERT_TRUE(question) << "no question before closing";
    Photograph(question.handle, dpi, L"question");
    question.Press(IDYES);
    EXPECT_EQ(app.program.WaitForExit(), 0u);
}

} // namespace
