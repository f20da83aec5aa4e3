#include "settings/FormSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// The window before the file is read: 800 × 600 work area, a window 280 high.
const settings::Placement Current{5, 1, -1, -2, 10, 20, 30, 40};

settings::FormSettings Read(const std::map<std::wstring, std::wstring>& entries) {
    return settings::ReadFormSettings(
        [&](const wchar_t* section, const wchar_t* key) {
            const auto found = entries.find(std::wstring(section) + L"." + key);
            return found == entries.end() ? std::wstring() : found->second;
        },
        Current, 1, 800, 600, 280);
}

TEST(FormSettings, ReadsThePlacementOrBuildsTheDefaultRectangle) {
    const settings::FormSettings none = Read({});
    EXPECT_EQ(none.placement.flags, 5u);
    EXPECT_EQ(none.placement.maxX, -1);
    EXPECT_EQ(none.placement.maxY, -2);
    // Top a third of 600, left (800 - 280) / 2, then a square of the top's size.
    EXPECT_EQ(none.placement.top, 200);
    EXPECT_EQ(none.placement.left, 260);
    EXPECT_EQ(none.placement.right, 460);
    EXPECT_EQ(none.placement.bottom, 400);
    EXPECT_EQ(none.windowState, 1);
    EXPECT_FALSE(none.closeQuery);

    const settings::FormSettings read = Read({{L"POSITION.Left", L"2147483647"},
                                              {L"POSITION.Top", L"1"},
                                              {L"POSITION.state", L"258"},
                                              {L"MODE.CloseQuery", L"1"}});
    EXPECT_EQ(read.placement.right, -2147483647 - 1) << "the default right wraps around";
    EXPECT_EQ(read.placement.bottom, 2);
    EXPECT_EQ(read.windowState, 2) << "only the low 8 bits name the state";
    EXPECT_TRUE(read.closeQuery);
    EXPECT_EQ(Read({{L"POSITION.state", L"3"}}).windowState, 0);
}

TEST(FormSettings, WritesThePositionOnlyWhenTheStateIsSaved) {
    settings::IniFile file = settings::IniFile::Parse(L"[Other]\r\nKey=1\r\n[MODE]\r\nOld=1\r\n");
    settings::WriteFormSettings(file, {Current, 2, true, false}, L"C:\\T\\Tavimbo.exe", L"now");
    const std::wstring text = file.Text();
    EXPECT_NE(text.find(L"[Other]\r\nKey=1\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Name=Tavimbo.exe\r\nPath=C:\\T\r\n"), std::wstring::npos);
    EXPECT_EQ(text.find(L"[POSITION]"), std::wstring::npos);
    EXPECT_EQ(text.find(L"Old=1"), std::wstring::npos);

    settings::WriteFormSettings(file, {Current, 2, true, true}, L"C:\\T\\Tavimbo.exe", L"now");
    EXPECT_NE(file.Text().find(L"[POSITION]\r\nFlags=5\r\nShowCmd=1\r\nMaxX=-1\r\nMaxY=-2\r\n"
                               L"Left=10\r\nTop=20\r\nRight=30\r\nBottom=40\r\nState=2\r\n"),
              std::wstring::npos);
    EXPECT_NE(file.Text().find(L"[MODE]\r\nCloseQuery=1\r\nSaveStatus=1\r\n"), std::wstring::npos);
}

} // namespace
