#include "services/ErrorText.h"
#include "app/Layout.h"
#include "app/ShortcutKeys.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace {

TEST(ErrorReportText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
    struct Case {
        const wchar_t* message;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"Invalid characters in path", L"Invalid characters in path."},
        {L"Already ends.", L"Already ends."},
        {L"Ends in a hyphen-", L"Ends in a hyphen-"}, // '-' lies below '.'
        {L"Ends in a blank ", L"Ends in a blank "},
        {L"Ends in a slash/", L"Ends in a slash/."}, // '/' lies above '.'
        {L"ファイルが見つかりません", L"ファイルが見つかりません."},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(services::ErrorReportText(c.message), c.shown)
            << "message: " << testing::PrintToString(std::wstring(c.message));
    }
}

TEST(TabWidth, IsAQuarterOfTheClientWidthForThreePages) {
    EXPECT_EQ(app::TabWidth(264, 3), 66);
    EXPECT_EQ(app::TabWidth(267, 3), 66);
    EXPECT_EQ(app::TabWidth(268, 3), 67);
    EXPECT_EQ(app::TabWidth(3, 3), 0);
    for (int width = 0; width < 2000; width += 7) {
        EXPECT_LE(3 * app::TabWidth(width, 3), width - width / 4) << "width " << width;
    }
}

TEST(Scale, RoundsLikeMulDiv) {
    EXPECT_EQ(app::Scale(280, 96), 280);
    EXPECT_EQ(app::Scale(280, 144), 420);
    EXPECT_EQ(app::Scale(3, 120), 4);     // 3.75
    EXPECT_EQ(app::Scale(-11, 144), -17); // -16.5 rounds away from zero
    EXPECT_EQ(app::Scale(-11, 96), -11);
}

TEST(PlacedSize, IsTheSavedSizeAtTheMonitorsResolutionWhateverTheWindowWasMadeAt) {
    struct Case {
        const char* name; // the primary monitor's resolution, then the saved one's
        app::Rect saved;
        int dpi;
        app::Size size;
    };
    const Case cases[] = {
        {"96 -> 96", {100, 100, 500, 400}, 96, {400, 300}},
        {"96 -> 144", {1920, 0, 2520, 450}, 144, {600, 450}},
        {"96 -> 144, below the minimum", {1920, 0, 2220, 300}, 144, {420, 420}},
        {"144 -> 96", {-1280, 0, -980, 300}, 96, {300, 300}},
        {"sides beyond an int", {INT_MIN, 0, INT_MAX, -5}, 96, {INT_MAX, 280}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app::PlacedSize(c.saved, {280, 280}, c.dpi), c.size) << c.name;
    }
}

TEST(GridCell, CellsTileTheAreaWithoutGapsOrOverlaps) {
    const std::array<double, 3> thirds{33.33333333333334, 33.33333333333334, 33.33333333333331};
    const std::array<double, 1> whole{100};
    for (int height = 0; height < 400; ++height) {
        const app::Rect area{3, 5, 103, 5 + height};
        int top = area.top;
        for (int row = 0; row < 3; ++row) {
            const app::Rect cell = app::GridCell(area, whole, thirds, 0, row);
            ASSERT_EQ(cell.top, top) << "height " << height << " row " << row;
            ASSERT_GE(cell.Height(), height / 3 - 1);
            ASSERT_LE(cell.Height(), height / 3 + 1);
            top = cell.bottom;
        }
        ASSERT_EQ(top, area.bottom) << "height " << height;
    }
}

TEST(GridCell, PlacesTheSettingsPageSplitAndTheHelpPageColumns) {
    const std::array<double, 2> split{68.73960643931483, 31.26039356068517};
    const std::array<double, 1> whole{100};
    EXPECT_EQ(app::GridCell({0, 0, 100, 200}, whole, split, 0, 0), (app::Rect{0, 0, 100, 137}));
    EXPECT_EQ(app::GridCell({0, 0, 100, 200}, whole, split, 0, 1), (app::Rect{0, 137, 100, 200}));
    const std::array<double, 2> halves{50, 50};
    const std::array<double, 5> fifths{20, 20, 20, 20, 20};
    EXPECT_EQ(app::GridCell({3, 3, 255, 203}, halves, fifths, 0, 4), (app::Rect{3, 163, 129, 203}));
    EXPECT_EQ(app::GridCell({3, 3, 255, 203}, halves, fifths, 1, 0), (app::Rect{129, 3, 255, 43}));
}

TEST(Inset, ShrinksEachSideByItsOwnAmount) {
    EXPECT_EQ(app::Inset({10, 20, 110, 220}, 0, 8, 0, 0), (app::Rect{10, 28, 110, 220}));
    EXPECT_EQ(app::Inset({10, 20, 110, 220}, 3, 3, 3, 3), (app::Rect{13, 23, 107, 217}));
}

TEST(ShortcutKeys, MatchOnlyTheExactModifierCombination) {
    struct Case {
        const char* name;
        unsigned key;
        app::ModifierKeys modifiers;
        const wchar_t* item; // nullptr: no match
    };
    constexpr unsigned F1 = 0x70, Enter = 0x0D, Esc = 0x1B;
    const Case cases[] = {
        {"F1", F1, {}, L"N1"},
        {"Ctrl+Enter", Enter, {false, true, false, false}, L"About1"},
        {"Alt+Enter", Enter, {false, false, true, false}, L"N2"},
        {"Esc", Esc, {}, L"Close1"},
        {"Enter", Enter, {}, nullptr},
        {"Shift+F1", F1, {true, false, false, false}, nullptr},
        {"Ctrl+F1", F1, {false, true, false, false}, nullptr},
        {"Shift+Enter", Enter, {true, false, false, false}, nullptr},
        {"Ctrl+Alt+Enter", Enter, {false, true, true, false}, nullptr},
        {"Ctrl+Shift+Enter", Enter, {true, true, false, false}, nullptr},
        {"AltGr+Enter", Enter, {false, true, true, true}, nullptr},
        {"AltGr+F1", F1, {false, false, false, true}, nullptr},
        {"Shift+Esc", Esc, {true, false, false, false}, nullptr},
    };
    for (const Case& c : cases) {
        const auto value = app::ShortcutValue(c.key, c.modifiers);
        const app::MenuItem* item = value ? app::FindShortcut(*value) : nullptr;
        if (c.item == nullptr) {
            EXPECT_EQ(item, nullptr) << c.name;
        } else {
            ASSERT_NE(item, nullptr) << c.name;
            EXPECT_EQ(item->name, c.item) << c.name;
        }
    }
}

TEST(ShortcutKeys, FormValuesAsTheMenuStoresThem) {
    EXPECT_EQ(app::ShortcutValue(0x0D, {false, true, false, false}), 16397u);
    EXPECT_EQ(app::ShortcutValue(0x0D, {false, false, true, false}), 32781u);
    EXPECT_EQ(app::ShortcutValue(0x70, {true, true, true, false}), 0x70u + 0xE000u);
    EXPECT_EQ(app::ShortcutValue(0x0D, {false, true, true, true}), std::nullopt);
}

} // namespace
