// The main window as a user meets it: captions, pages, tab widths, tooltips, keys and closing.

#include "app/Layout.h"
#include "tests/e2e/Driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

using namespace e2e;

bool AcceptsFiles(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void TickCloseQuery(const StartedProgram& app) {
    const HWND box = app.Button(L"確認する");
    ASSERT_NE(box, nullptr);
    Click(box);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
}

TEST(MainWindow, StartsOnTheSendToPageWithItsCaptionTabsAndFocus) {
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    EXPECT_EQ(WindowText(app.main), L"Tavimbo");
    ASSERT_NE(app.tabs, nullptr);
    EXPECT_EQ(TabCaptions(app.tabs), (std::vector<std::wstring>{L"送る", L"設 定", L"ヘルプ"}));
    EXPECT_EQ(SendMessageW(app.tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(FocusOf(app.main), app.Button(L"プログラムを「送る」に登録・削除"));
    EXPECT_TRUE(AcceptsFiles(app.main));
    EXPECT_EQ(GetWindowLongPtrW(app.tabs, GWL_STYLE) & WS_TABSTOP, 0);
}

TEST(MainWindow, EveryButtonAndCheckBoxHasItsCaptionAndToolTip) {
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    const HWND toolTips = [&] {
        for (HWND window : TopWindows(app.program.Id(), true)) {
            if (ClassName(window) == L"tooltips_class32") {
                return window;
            }
        }
        return HWND{};
    }();
    ASSERT_NE(toolTips, nullptr);
    const std::pair<const wchar_t*, const wchar_t*> components[] = {
        {L"プログラムを「送る」に登録・削除", L"Program for SendTo"},
        {L"フォルダを「送る」に登録・削除", L"Folder for SendTo"},
        {L"「送る」フォルダを開く", L"Open SendTo folder"},
        {L"自分を「送る」に登録・削除", L"ShortCut for SendTo"},
        {L"デスクトップに登録・削除", L"ShortCut for DeskTop"},
        {L"スタートメニューに登録・削除", L"ShortCut for StartMenu"},
        {L"スタートアップに登録・削除", L"ShortCut for StartUp"},
        {L"確認する", L"Querry at close"},
        {L"状態を保存する", L"Save status"},
        {L"ヘルプ表示", L"Help (F1)"},
        {L"バージョン情報", L"About (Ctrl+Enter)"},
        {L"プロパティ表示", L"Properties (Alt+Enter)"},
        {L"開発支援", L"Donation"},
        {L"ホームページ", L"HomeSite"},
    };
    for (const auto& [caption, tip] : components) {
        const HWND control = app.Button(caption);
        ASSERT_NE(control, nullptr) << Narrow(caption);
        EXPECT_EQ(ToolTipText(toolTips, GetParent(control), control), tip) << Narrow(caption);
    }
    EXPECT_NE(app.Button(L"起動ショートカット"), nullptr);
    EXPECT_NE(app.Button(L"終了時"), nullptr);
}

TEST(MainWindow, ButtonsAndCheckBoxesShowTheHandCursorAndNothingShowsAMenu) {
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    for (const wchar_t* caption : {L"自分を「送る」に登録・削除", L"確認する", L"ホームページ"}) {
        const HWND control = app.Button(caption);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(SendMessageW(GetParent(control), WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                               overClient),
                  TRUE)
            << Narrow(caption);
    }
    const HWND groupBox = app.Button(L"終了時");
    EXPECT_EQ(SendMessageW(GetParent(groupBox), WM_SETCURSOR, reinterpret_cast<WPARAM>(groupBox),
                           overClient),
              FALSE);

    const HWND button = app.Button(L"「送る」フォルダを開く");
    for (HWND target : {app.main, button}) {
        PostMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        PostMessageW(target, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        PostMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(50, 50));
    }
    Sleep(300);
    for (HWND window : TopWindows(app.program.Id())) {
        EXPECT_NE(ClassName(window), L"#32768") << "a menu is shown";
    }
}

TEST(MainWindow, TabCyclesThroughEachPageInDesignOrderAndNeverOntoTheTabStrip) {
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    const std::vector<std::vector<const wchar_t*>> pages = {
        {L"プログラムを「送る」に登録・削除", L"フォルダを「送る」に登録・削除",
         L"「送る」フォルダを開く", L"自分を「送る」に登録・削除"},
        {L"デスクトップに登録・削除", L"スタートメニューに登録・削除",
         L"スタートアップに登録・削除", L"確認する", L"状態を保存する"},
        {L"ヘルプ表示", L"バージョン情報", L"プロパティ表示", L"開発支援", L"ホームページ"},
    };
    for (int page = 0; page < 3; ++page) {
        SelectTab(app.tabs, page);
        const auto& order = pages[static_cast<size_t>(page)];
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(app.main) == app.Button(order[0]); }))
            << "page " << page;
        for (size_t step = 1; step <= order.size(); ++step) {
            PressKey(app.main, VK_TAB);
            const HWND expected = app.Button(order[step % order.size()]);
            EXPECT_TRUE(WaitUntil([&] { return FocusOf(app.main) == expected; }, 2s))
                << "page " << page << ", Tab " << step << " should reach "
                << Narrow(order[step % order.size()]) << ", focus is on "
                << Narrow(WindowText(FocusOf(app.main)));
        }
    }
}

TEST(MainWindow, TabsTakeAQuarterOfTheStripAtEveryWidth) {
    StartedProgram app;
    ASSERT_NE(app.tabs, nullptr);
    for (const int width : {280, 517}) {
        SetWindowPos(app.main, nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
        RECT client{};
        ASSERT_TRUE(WaitUntil([&] {
            GetClientRect(app.tabs, &client);
            const RECT tab = TabItemRect(app.tabs, 0);
            return tab.right - tab.left == app::TabWidth(client.right, 3);
        })) << "width "
            << width;
        for (int index = 0; index < 3; ++index) {
            const RECT tab = TabItemRect(app.tabs, index);
            EXPECT_EQ(tab.right - tab.left, client.right / 4)
                << "width " << width << " tab " << index;
        }
        EXPECT_LE(TabItemRect(app.tabs, 2).right, client.right - client.right / 4 + 2);
    }
}

TEST(MainWindow, CannotBeMadeSmallerThanItsMinimumSize) {
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    SetWindowPos(app.main, nullptr, 0, 0, 120, 90, SWP_NOMOVE | SWP_NOZORDER);
    RECT bounds{};
    GetWindowRect(app.main, &bounds);
    EXPECT_GE(bounds.right - bounds.left, 280);
    EXPECT_GE(bounds.bottom - bounds.top, 280);
}

TEST(MainWindow, EscClosesFromEveryPageWithoutAskingWhenUnticked) {
    for (int page = 0; page < 3; ++page) {
        StartedProgram app;
        ASSERT_NE(app.tabs, nullptr);
        SelectTab(app.tabs, page);
        PressKey(app.main, VK_ESCAPE);
        EXPECT_EQ(app.program.WaitForExit(), 0u) << "page " << page;
        EXPECT_FALSE(WaitForBox(app.program.Id(), 0ms)) << "page " << page;
    }
}

TEST(MainWindow, ConfirmationNoKeepsTheWindowAndYesClosesIt) {
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    TickCloseQuery(app);
    SelectTab(app.tabs, 1);
    PressKey(app.main, VK_ESCAPE); // with the focus on a page of check boxes

    const Box question = WaitForBox(app.program.Id());
    ASSERT_TRUE(question);
    EXPECT_EQ(question.caption, L"Tavimbo");
    EXPECT_EQ(question.text, L"終了してよいですか？");
    EXPECT_EQ(GetWindow(question.handle, GW_OWNER), app.main);
    EXPECT_FALSE(IsWindowEnabled(app.main));
    question.Press(IDNO);
    EXPECT_FALSE(app.program.WaitForExit(500ms));
    EXPECT_TRUE(IsWindowVisible(app.main));
    EXPECT_TRUE(IsWindowEnabled(app.main));
    EXPECT_TRUE(AcceptsFiles(app.main));

    PostMessageW(app.main, WM_CLOSE, 0, 0);
    const Box again = WaitForBox(app.program.Id());
    ASSERT_TRUE(again);
    EXPECT_EQ(again.text, L"終了してよいですか？");
    again.Press(IDYES);
    EXPECT_EQ(app.program.WaitForExit(), 0u);
}

TEST(MainWindow, SessionEndIsAgreedWithoutAQuestionAndLaterClosesStillAsk) {
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    TickCloseQuery(app);
    DWORD_PTR reply = 0;
    ASSERT_TRUE(
        SendMessageTimeoutW(app.main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &reply));
    EXPECT_EQ(reply, 1u);
    EXPECT_FALSE(WaitForBox(app.program.Id(), 300ms));
    EXPECT_TRUE(app.program.Running());
    EXPECT_FALSE(AcceptsFiles(app.main));

    PostMessageW(app.main, WM_CLOSE, 0, 0);
    const Box question = WaitForBox(app.program.Id());
    ASSERT_TRUE(question);
    EXPECT_EQ(question.text, L"終了してよいですか？");
    question.Press(IDYES);
    EXPECT_EQ(app.program.WaitForExit(), 0u);
}

} // namespace
