// Keys of the main window: Enter and the default buttons, and the hidden menu's shortcuts
// taking precedence over the focused component.

#include "tests/e2e/Driver.h"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

constexpr const wchar_t* NotFound = L"HelpFile Not Found.\r\n\r\nTavimbo.chm";

bool IsAboutBox(const Box& box) {
    return box.text.rfind(L"Tavimbo V1.1 (", 0) == 0;
}

TEST(Keyboard, EnterRightAfterStartPicksAProgram) {
    StartedProgram app;
    ASSERT_NE(app.main, nullptr);
    PressKey(app.main, VK_RETURN);
    const Box picker = WaitForBox(app.program.Id());
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker.caption, L"「送る」を受け取るプログラムを指定");
    picker.Press(IDCANCEL);
}

TEST(Keyboard, EnterPressesTheFocusedButtonElseThePagesDefault) {
    StartedProgram app;
    ASSERT_NE(app.tabs, nullptr);
    SelectTab(app.tabs, 2);
    PressKey(app.main, VK_TAB); // from ヘルプ表示 (the default) to バージョン情報
    PressKey(app.main, VK_RETURN);
    const Box about = WaitForBox(app.program.Id());
    ASSERT_TRUE(about);
    EXPECT_TRUE(IsAboutBox(about)) << Narrow(about.text);
    PressKey(about.handle, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about.handle); }));

    // The settings page has no default button: Enter on a check box does nothing.
    SelectTab(app.tabs, 1);
    for (int step = 0; step < 3; ++step) {
        PressKey(app.main, VK_TAB);
    }
    PressKey(app.main, VK_RETURN);
    EXPECT_FALSE(WaitForBox(app.program.Id(), 700ms));
    // Shift+Enter matches nothing and presses nothing.
    SelectTab(app.tabs, 2);
    PressKey(app.main, VK_RETURN, Shift);
    EXPECT_FALSE(WaitForBox(app.program.Id(), 700ms));
}

TEST(Keyboard, ShortcutsRunFromEveryPageBeforeTheFocusedButtonSeesThem) {
    StartedProgram app;
    ASSERT_NE(app.tabs, nullptr);
    for (int page = 0; page < 3; ++page) {
        SelectTab(app.tabs, page);
        // Ctrl+Enter with a button focused shows the About box and does not press the button.
        PressKey(app.main, VK_RETURN, Ctrl);
        const Box about = WaitForBox(app.program.Id());
        ASSERT_TRUE(about) << "page " << page;
        EXPECT_TRUE(IsAboutBox(about)) << "page " << page << ": " << Narrow(about.text);
        about.Press(IDOK);

        PressKey(app.main, VK_F1);
        const Box help = WaitForBox(app.program.Id());
        ASSERT_TRUE(help) << "page " << page;
        EXPECT_EQ(help.text, NotFound) << "page " << page;
        help.Press(IDOK);

        // Shift+F1 and Ctrl+F1 match no item.
        PressKey(app.main, VK_F1, Shift);
        PressKey(app.main, VK_F1, Ctrl);
        EXPECT_FALSE(WaitForBox(app.program.Id(), 500ms)) << "page " << page;
    }
}

} // namespace
