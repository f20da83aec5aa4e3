// The Ukraine clock's date rule against calendar arithmetic of its own: day numbers counted
// year by year and month by month from 1 January of year 1 (a Monday), with no std::chrono
// calendar types. The input picks a UTC minute from 1900 to 2399 and a millisecond within it.
// Built with TAVIMBO_CLOCK_SWEEP, the file is instead a program that checks every minute of
// the years given.

#include "tests/fuzz/FuzzTarget.h"

#include "info/UkraineClock.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using fuzz::Require;

constexpr long long MinutesPerDay = 24 * 60;
constexpr long long MillisecondsPerMinute = 60 * 1000;
constexpr long long MillisecondsPerDay = MinutesPerDay * MillisecondsPerMinute;

bool IsLeapYear(long long year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

long long DaysBeforeYear(long long year) {
    const long long previous = year - 1;
    return 365 * previous + previous / 4 - previous / 100 + previous / 400;
}

int DaysInMonth(long long year, int month) {
    constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return lengths[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

// Days since 1 January of year 1.
long long DayNumber(long long year, int month, int day) {
    long long number = DaysBeforeYear(year) + day - 1;
    for (int earlier = 1; earlier < month; ++earlier) {
        number += DaysInMonth(year, earlier);
    }
    return number;
}

struct Date {
    long long year;
    int month;
    int day;
    int weekday; // 0 is Monday
};

Date DateOf(long long dayNumber) {
    long long year = dayNumber * 400 / 146097 + 1;
    while (DaysBeforeYear(year) > dayNumber) {
        --year;
    }
    while (DaysBeforeYear(year + 1) <= dayNumber) {
        ++year;
    }
    long long rest = dayNumber - DaysBeforeYear(year);
    int month = 1;
    while (rest >= DaysInMonth(year, month)) {
        rest -= DaysInMonth(year, month++);
    }
    return {year, month, static_cast<int>(rest) + 1, static_cast<int>(dayNumber % 7)};
}

long long LastSundayOf(long long year, int month) {
    const long long last = DayNumber(year, month, DaysInMonth(year, month));
    return last - (DateOf(last).weekday + 1) % 7;
}

std::wstring TwoDigits(long long value) {
    return std::wstring(value < 10 ? L"0" : L"") + std::to_wstring(value);
}

const info::DateNames& Names() {
    static const info::DateNames names = [] {
        info::DateNames made;
        for (int month = 0; month < 12; ++month) {
            made.months[month] = L"Month" + std::to_wstring(month + 1);
        }
        for (int weekday = 0; weekday < 7; ++weekday) {
            made.weekdays[weekday] = L"Weekday" + std::to_wstring(weekday + 1);
        }
        return made;
    }();
    return names;
}

// Milliseconds since 1 January of year 1 as the product's instant, which counts from 1970.
info::Instant InstantOf(long long milliseconds) {
    static const long long epoch = DayNumber(1970, 1, 1) * MillisecondsPerDay;
    return info::Instant(std::chrono::milliseconds(milliseconds - epoch));
}

void CheckAt(long long utc) {
    const long long local = utc + 120 * MillisecondsPerMinute;
    const long long year = DateOf(local / MillisecondsPerDay).year;
    const long long start =
        (LastSundayOf(year, 3) * MinutesPerDay + 3 * 60) * MillisecondsPerMinute;
    const long long end = (LastSundayOf(year, 10) * MinutesPerDay + 4 * 60) * MillisecondsPerMinute;
    const bool daylight = start < local && local < end;
    Require(info::DaylightStart(InstantOf(local)) == InstantOf(start),
            "the daylight start differs");
    Require(info::DaylightEnd(InstantOf(local)) == InstantOf(end), "the daylight end differs");
    Require(info::IsDaylightTime(InstantOf(local)) == daylight, "daylight time differs");

    const long long shown = local + (daylight ? 60 * MillisecondsPerMinute : 0);
    const Date date = DateOf(shown / MillisecondsPerDay);
    const long long minuteOfDay = shown % MillisecondsPerDay / MillisecondsPerMinute;
    const std::wstring expected =
        std::wstring(daylight ? L"Peace for Ukraine" : L"Peace For Ukraine") + L"\r\n" +
        std::to_wstring(date.day) + L" Month" + std::to_wstring(date.month) + L' ' +
        std::to_wstring(date.year) + L" Weekday" + std::to_wstring(date.weekday + 1) + L' ' +
        TwoDigits(minuteOfDay / 60) + L':' + TwoDigits(minuteOfDay % 60) +
        L", Ukraine Standard Time" + (daylight ? L" (in Daylight Saving Time)" : L"");
    Require(info::UkraineClockText(InstantOf(utc), Names()) == expected,
            "the clock's text differs from the date worked out apart");
}

const long long FirstMinute = DayNumber(1900, 1, 1) * MinutesPerDay;
const long long MinutesInRange = DayNumber(2400, 1, 1) * MinutesPerDay - FirstMinute;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint64_t minute = 0;
    std::uint16_t millisecond = 0;
    std::memcpy(&minute, data, std::min(size, sizeof minute));
    if (size > sizeof minute) {
        std::memcpy(&millisecond, data + sizeof minute,
                    std::min(size - sizeof minute, sizeof millisecond));
    }
    const long long utc =
        (FirstMinute + static_cast<long long>(minute % MinutesInRange)) * MillisecondsPerMinute +
        millisecond % MillisecondsPerMinute;
    CheckAt(utc);
    return 0;
}

#ifdef TAVIMBO_CLOCK_SWEEP
// Arguments: FIRST_YEAR LAST_YEAR, both included, in UTC.
int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FIRST_YEAR LAST_YEAR\n", argv[0]);
        return 2;
    }
    const long long first = DayNumber(std::atoll(argv[1]), 1, 1) * MinutesPerDay;
    const long long end = DayNumber(std::atoll(argv[2]) + 1, 1, 1) * MinutesPerDay;
    for (long long minute = first; minute < end; ++minute) {
        CheckAt(minute * MillisecondsPerMinute);
    }
    std::printf("%lld minutes from %s to %s: as worked out apart\n", end - first, argv[1], argv[2]);
    return 0;
}
#endif
