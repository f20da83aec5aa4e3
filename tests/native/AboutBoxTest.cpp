#include "info/AboutBox.h"

#include "services/AppInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

TEST(AboutText, ListsEveryFactOnItsOwnLine) {
    info::AboutFacts facts;
    facts.title = L"Tavimbo";
    facts.fileVersion = L"1.1.8289.23965";
    facts.exePath = L"C:\\Tools\\Tavimbo.exe";
    facts.screenWidth = 1920;
    facts.screenHeight = 1080;
    facts.clockText = L"Peace For Ukraine\r\n1 січня 2025 середа 00:30, Ukraine Standard Time";
    const std::wstring expected = L"Tavimbo V1.1 (1.1.8289.23965) Release Build\r\n"
                                  L"C:\\Tools\\Tavimbo.exe\r\n"
                                  L"CurrentScreen 1920 x 1080\r\n"
                                  L"\r\n" +
                                  std::wstring(services::CopyrightText) + L"\r\n" +
                                  std::wstring(services::ContactMail) + L"\r\n" +
                                  std::wstring(services::HomePageUrl) +
                                  L"\r\n"
                                  L"\r\n"
                                  L"Peace For Ukraine\r\n"
                                  L"1 січня 2025 середа 00:30, Ukraine Standard Time\r\n";
    EXPECT_EQ(info::AboutText(facts), expected);
}

TEST(AboutText, AMissingVersionLeavesEmptyParentheses) {
    info::AboutFacts facts;
    facts.title = L"Tavimbo";
    const std::wstring text = info::AboutText(facts);
    EXPECT_EQ(text.substr(0, text.find(L"\r\n")), L"Tavimbo V1.1 () Release Build");
}

TEST(HomePageUrl, EndsInASlashSoThatPagesCanBeAppended) {
    ASSERT_FALSE(services::HomePageUrl.empty());
    EXPECT_EQ(services::HomePageUrl.back(), L'/');
}

TEST(LayOutAbout, IconTextAndCentredButtonFitInsideTheMargins) {
    struct Case {
        const char* name;
        int textWidth, textHeight, iconSize, charWidth, charHeight;
    };
    const Case cases[] = {
        {"wide text", 640, 200, 32, 6, 16},
        {"text lower than the icon", 300, 12, 32, 6, 16},
        {"text narrower than the button", 10, 16, 32, 6, 16},
        {"large font and icon", 900, 400, 48, 9, 24},
    };
    for (const Case& c : cases) {
        const info::AboutLayout l =
            info::LayOutAbout(c.textWidth, c.textHeight, c.iconSize, c.charWidth, c.charHeight);
        const int margin = l.icon.left;
        EXPECT_GT(margin, 0) << c.name;
        EXPECT_EQ(l.icon.top, l.text.top) << c.name;
        EXPECT_EQ(l.icon.width, c.iconSize) << c.name;
        EXPECT_EQ(l.text.width, c.textWidth) << c.name;
        EXPECT_EQ(l.text.height, c.textHeight) << c.name;
        EXPECT_GT(l.text.left, l.icon.left + l.icon.width) << c.name << ": text right of the icon";
        EXPECT_EQ(l.clientWidth,
                  std::max(l.text.left + l.text.width, margin + l.button.width) + margin)
            << c.name << ": as wide as the text or the button needs, no wider";
        EXPECT_GE(l.button.left, margin) << c.name << ": button inside the margins";
        EXPECT_LE(l.button.left + l.button.width, l.clientWidth - margin) << c.name;
        EXPECT_LE(std::abs(2 * l.button.left + l.button.width - l.clientWidth), 1)
            << c.name << ": centred";
        EXPECT_GT(l.button.top, l.icon.top + l.icon.height) << c.name << ": below the icon";
        EXPECT_GT(l.button.top, l.text.top + l.text.height) << c.name << ": below the text";
        EXPECT_EQ(l.clientHeight - (l.button.top + l.button.height), l.icon.top) << c.name;
        EXPECT_GT(l.button.height, c.charHeight) << c.name;
    }
}

TEST(GradientFor, OddRunsLeftToRightEvenTopToBottomFromWhite) {
    struct Case {
        std::uint32_t colour;
        bool horizontal;
        info::GradientColour to;
    };
    const Case cases[] = {
        {0x000000, false, {0x0000, 0x0000, 0x0000}},
        {0x000001, true, {0x0100, 0x0000, 0x0000}},
        {0x123456, false, {0x5600, 0x3400, 0x1200}}, // 0x00BBGGRR: red in the low byte
        {0xABCDEF, true, {0xEF00, 0xCD00, 0xAB00}},
        {0xFFFFFE, false, {0xFE00, 0xFF00, 0xFF00}}, // the largest value drawn
    };
    for (const Case& c : cases) {
        const info::Gradient gradient = info::GradientFor(c.colour);
        EXPECT_EQ(gradient.horizontal, c.horizontal) << std::hex << c.colour;
        EXPECT_EQ(gradient.from.red, 0xFF00) << std::hex << c.colour;
        EXPECT_EQ(gradient.from.green, 0xFF00) << std::hex << c.colour;
        EXPECT_EQ(gradient.from.blue, 0xFF00) << std::hex << c.colour;
        EXPECT_EQ(gradient.to.red, c.to.red) << std::hex << c.colour;
        EXPECT_EQ(gradient.to.green, c.to.green) << std::hex << c.colour;
        EXPECT_EQ(gradient.to.blue, c.to.blue) << std::hex << c.colour;
    }
}

} // namespace
