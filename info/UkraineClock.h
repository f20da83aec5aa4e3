#pragma once

#include <array>
#include <chrono>
#include <string>

namespace info {

// A calendar date-time with millisecond resolution and no zone attached.
using Instant = std::chrono::local_time<std::chrono::milliseconds>;

// Month names January first; weekday names Monday first, as Windows lists them.
struct DateNames {
    std::array<std::wstring, 12> months;
    std::array<std::wstring, 7> weekdays;
};

// Ukraine's daylight-saving window of the year of t, in the UTC+2 reckoning: the last Sunday
// of March at 03:00 and the last Sunday of October at 04:00.
Instant DaylightStart(Instant t);
Instant DaylightEnd(Instant t);

// The bounds themselves count as standard time.
bool IsDaylightTime(Instant t);

// Formats t as "d mmmm yyyy aaaa hh:nn".
std::wstring FormatUkraineDateTime(Instant t, const DateNames& names);

// The About box's greeting and the time in Ukraine at the given UTC instant.
std::wstring UkraineClockText(Instant utc, const DateNames& names);

} // namespace info
