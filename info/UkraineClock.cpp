#include "info/UkraineClock.h"

#include "services/NumberText.h"

namespace info {
namespace {

using namespace std::chrono;

constexpr minutes StandardOffset{120};
constexpr minutes DaylightOffset{60};

Instant LastSundayAt(Instant t, month inMonth, hours at) {
    const year inYear = year_month_day(floor<days>(t)).year();
    const local_days sunday{inYear / inMonth / Sunday[last]};
    return Instant(sunday + at);
}

std::wstring Padded(long long value, std::size_t width) {
    std::wstring digits = services::NumberText(value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), L'0');
    }
    return digits;
}

} // namespace

Instant DaylightStart(Instant t) {
    return LastSundayAt(t, March, hours{3});
}

Instant DaylightEnd(Instant t) {
    return LastSundayAt(t, October, hours{4});
}

bool IsDaylightTime(Instant t) {
    return DaylightStart(t) < t && t < DaylightEnd(t);
}

std::wstring FormatUkraineDateTime(Instant t, const DateNames& names) {
    const local_days day = floor<days>(t);
    const year_month_day date(day);
    const hh_mm_ss time(t - day);
    // d mmmm yyyy aaaa hh:nn
    return services::NumberText(static_cast<unsigned>(date.day())) + L' ' +
           names.months[static_cast<unsigned>(date.month()) - 1] + L' ' +
           Padded(static_cast<int>(date.year()), 4) + L' ' +
           names.weekdays[weekday(day).iso_encoding() - 1] + L' ' +
           Padded(time.hours().count(), 2) + L':' + Padded(time.minutes().count(), 2);
}

std::wstring UkraineClockText(Instant utc, const DateNames& names) {
    const Instant t = utc + StandardOffset;
    if (IsDaylightTime(t)) {
        return L"Peace for Ukraine\r\n" + FormatUkraineDateTime(t + DaylightOffset, names) +
               L", Ukraine Standard Time (in Daylight Saving Time)";
    }
    return L"Peace For Ukraine\r\n" + FormatUkraineDateTime(t, names) + L", Ukraine Standard Time";
}

} // namespace info
