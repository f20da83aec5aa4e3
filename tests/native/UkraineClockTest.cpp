#include "info/UkraineClock.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace std::chrono;

info::Instant At(int y, unsigned m, unsigned d, int h, int min, int ms = 0) {
    return info::Instant(local_days{year{y} / month{m} / day{d}} + hours{h} + minutes{min} +
                         milliseconds{ms});
}

// Stand-ins for the locale's names, so that a mix-up of index bases shows.
const info::DateNames Names{
    {L"January", L"February", L"March", L"April", L"May", L"June", L"July", L"August", L"September",
     L"October", L"November", L"December"},
    {L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday", L"Sunday"},
};

constexpr wchar_t Standard[] = L", Ukraine Standard Time";
constexpr wchar_t Daylight[] = L", Ukraine Standard Time (in Daylight Saving Time)";

std::wstring StandardText(const std::wstring& shown) {
    return L"Peace For Ukraine\r\n" + shown + Standard;
}
std::wstring DaylightText(const std::wstring& shown) {
    return L"Peace for Ukraine\r\n" + shown + Daylight;
}

TEST(UkraineClockText, FollowsTheDaylightRuleAtEveryWorkedInstant) {
    struct Case {
        const char* name;
        info::Instant utc;
        std::wstring text;
    };
    const Case cases[] = {
        {"a minute before the start", At(2024, 3, 31, 0, 59),
         StandardText(L"31 March 2024 Sunday 02:59")},
        {"at the start", At(2024, 3, 31, 1, 0), StandardText(L"31 March 2024 Sunday 03:00")},
        {"a millisecond after the start", At(2024, 3, 31, 1, 0, 1),
         DaylightText(L"31 March 2024 Sunday 04:00")},
        {"a minute after the start", At(2024, 3, 31, 1, 1),
         DaylightText(L"31 March 2024 Sunday 04:01")},
        {"summer", At(2024, 7, 15, 12, 0), DaylightText(L"15 July 2024 Monday 15:00")},
        {"half an hour before the end", At(2024, 10, 27, 1, 30),
         DaylightText(L"27 October 2024 Sunday 04:30")},
        {"a millisecond before the end", At(2024, 10, 27, 1, 59, 999),
         DaylightText(L"27 October 2024 Sunday 04:59")},
        {"at the end", At(2024, 10, 27, 2, 0), StandardText(L"27 October 2024 Sunday 04:00")},
        {"turn of the year", At(2024, 12, 31, 22, 30),
         StandardText(L"1 January 2025 Wednesday 00:30")},
        {"a day with one digit in daylight time", At(2024, 4, 1, 7, 5),
         DaylightText(L"1 April 2024 Monday 10:05")},
        {"hours and minutes with one digit", At(2024, 1, 5, 3, 7),
         StandardText(L"5 January 2024 Friday 05:07")},
        {"last day of October is a Sunday, before its end", At(2021, 10, 31, 1, 59),
         DaylightText(L"31 October 2021 Sunday 04:59")},
        {"last day of October is a Sunday, at its end", At(2021, 10, 31, 2, 0),
         StandardText(L"31 October 2021 Sunday 04:00")},
        {"a week before a last Sunday that is the 31st", At(2021, 10, 24, 12, 0),
         DaylightText(L"24 October 2021 Sunday 15:00")},
        {"last day of March is a Sunday", At(2030, 3, 31, 1, 1),
         DaylightText(L"31 March 2030 Sunday 04:01")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(info::UkraineClockText(c.utc, Names), c.text) << c.name;
    }
}

TEST(DaylightWindow, BoundsAreTheLastSundaysOfMarchAndOctober) {
    struct Case {
        int year;
        info::Instant start;
        info::Instant end;
    };
    const Case cases[] = {
        {2024, At(2024, 3, 31, 3, 0), At(2024, 10, 27, 4, 0)},
        {2025, At(2025, 3, 30, 3, 0), At(2025, 10, 26, 4, 0)},
        {2021, At(2021, 3, 28, 3, 0), At(2021, 10, 31, 4, 0)}, // 31 October is a Sunday
        {2030, At(2030, 3, 31, 3, 0), At(2030, 10, 27, 4, 0)}, // 31 March is a Sunday
    };
    for (const Case& c : cases) {
        // Any moment of the year gives that year's window, including its very first and last.
        for (const info::Instant t :
             {At(c.year, 1, 1, 0, 0), At(c.year, 6, 30, 12, 0), At(c.year, 12, 31, 23, 59, 999)}) {
            EXPECT_EQ(info::DaylightStart(t), c.start) << c.year;
            EXPECT_EQ(info::DaylightEnd(t), c.end) << c.year;
        }
        EXPECT_FALSE(info::IsDaylightTime(c.start)) << c.year << " start";
        EXPECT_FALSE(info::IsDaylightTime(c.end)) << c.year << " end";
        EXPECT_TRUE(info::IsDaylightTime(c.start + milliseconds{1})) << c.year << " after start";
        EXPECT_TRUE(info::IsDaylightTime(c.end - milliseconds{1})) << c.year << " before end";
    }
}

TEST(FormatUkraineDateTime, NamesEveryWeekdayFromItsDate) {
    // 1 to 7 January 2024 run from Monday to Sunday.
    for (unsigned day = 1; day <= 7; ++day) {
        const std::wstring text = info::FormatUkraineDateTime(At(2024, 1, day, 23, 59), Names);
        EXPECT_EQ(text,
                  std::to_wstring(day) + L" January 2024 " + Names.weekdays[day - 1] + L" 23:59")
            << "day " << day;
    }
}

TEST(UkraineClockText, HasOneLineBreakBetweenGreetingAndTime) {
    for (const info::Instant utc : {At(2024, 3, 31, 0, 59), At(2024, 8, 1, 0, 0)}) {
        const std::wstring text = info::UkraineClockText(utc, Names);
        EXPECT_EQ(std::count(text.begin(), text.end(), L'\r'), 1);
        EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 1);
        EXPECT_EQ(text.find(L"\r\n"), 17u); // right after the greeting
        EXPECT_NE(text.back(), L'\n');
    }
}

} // namespace
