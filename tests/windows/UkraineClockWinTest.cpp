#include "info/UkraineClock_win.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(LocaleDateNames, UkrainianGivesNominativeMonthsAndWeekdaysFromMonday) {
    const info::DateNames names = info::LocaleDateNames(1058);
    struct Case {
        const char* name;
        const std::wstring& actual;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"January", names.months[0], L"січень"}, // not the genitive "січня"
        {"March", names.months[2], L"березень"},     {"December", names.months[11], L"грудень"},
        {"Monday", names.weekdays[0], L"понеділок"}, {"Wednesday", names.weekdays[2], L"середа"},
        {"Sunday", names.weekdays[6], L"неділя"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.name;
    }
}

TEST(UkraineDateNames, AreUkrainianWhereTheLocaleIsInstalled) {
    ASSERT_TRUE(IsValidLocale(1058, LCID_INSTALLED));
    const info::DateNames names = info::UkraineDateNames();
    EXPECT_EQ(names.months, info::LocaleDateNames(1058).months);
    EXPECT_EQ(names.weekdays, info::LocaleDateNames(1058).weekdays);
}

TEST(UkraineTimeText, LiesTwoOrThreeHoursAheadOfTheRealClock) {
    using namespace std::chrono;
    const info::DateNames names = info::UkraineDateNames();
    const info::Instant before = info::UtcNow();
    const std::wstring text = info::UkraineTimeText();
    const info::Instant after = info::UtcNow();

    const bool daylight = text.rfind(L"Peace for Ukraine\r\n", 0) == 0;
    ASSERT_TRUE(daylight || text.rfind(L"Peace For Ukraine\r\n", 0) == 0) << "greeting";
    const std::wstring suffix = daylight ? L", Ukraine Standard Time (in Daylight Saving Time)"
                                         : L", Ukraine Standard Time";
    ASSERT_TRUE(text.ends_with(suffix)) << "wording";
    const std::wstring shown = text.substr(19, text.size() - 19 - suffix.size());

    const hours ahead{daylight ? 3 : 2};
    const std::wstring earliest = info::FormatUkraineDateTime(before + ahead, names);
    const std::wstring latest = info::FormatUkraineDateTime(after + ahead, names);
    EXPECT_TRUE(shown == earliest || shown == latest)
        << testing::PrintToString(shown) << " is neither " << testing::PrintToString(earliest)
        << " nor " << testing::PrintToString(latest);
}

TEST(UtcNow, AgreesWithTheSystemsUtcCalendar) {
    SYSTEMTIME system{};
    GetSystemTime(&system);
    const info::Instant now = info::UtcNow();
    const std::chrono::year_month_day date(std::chrono::floor<std::chrono::days>(now));
    // Around midnight the two readings may straddle the date line.
    if (system.wHour == 23 && system.wMinute == 59) {
        GTEST_SKIP() << "too close to midnight";
    }
    EXPECT_EQ(static_cast<int>(date.year()), system.wYear);
    EXPECT_EQ(static_cast<unsigned>(date.month()), system.wMonth);
    EXPECT_EQ(static_cast<unsigned>(date.day()), system.wDay);
}

} // namespace
