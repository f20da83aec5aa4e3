#include "info/UkraineClock_win.h"

#include <cstdint>
#include <iterator>

namespace info {
namespace {

constexpr LCID Ukrainian = 1058;

std::wstring LocaleText(LCID locale, LCTYPE type) {
    wchar_t text[80]{};
    const int length = GetLocaleInfoW(locale, type, text, static_cast<int>(std::size(text)));
    return length > 1 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring();
}

} // namespace

DateNames LocaleDateNames(LCID locale) {
    DateNames names;
    // Without LOCALE_RETURN_GENITIVE_NAMES the month comes by itself, not as inside a date.
    for (std::size_t month = 0; month < names.months.size(); ++month) {
        names.months[month] = LocaleText(locale, LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(month));
    }
    for (std::size_t day = 0; day < names.weekdays.size(); ++day) {
        names.weekdays[day] = LocaleText(locale, LOCALE_SDAYNAME1 + static_cast<LCTYPE>(day));
    }
    return names;
}

DateNames UkraineDateNames() {
    return LocaleDateNames(IsValidLocale(Ukrainian, LCID_INSTALLED) ? Ukrainian
                                                                    : GetThreadLocale());
}

Instant UtcNow() {
    // Read as UTC, not as local time less the zone's offset: the local hour that repeats when
    // daylight time ends could not tell its two passes apart.
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    using namespace std::chrono;
    constexpr local_days FileTimeEpoch{year{1601} / January / 1};
    return Instant(FileTimeEpoch) + milliseconds{static_cast<std::int64_t>(ticks / 10000)};
}

std::wstring UkraineTimeText() {
    return info::UkraineClockText(info::UtcNow(), info::UkraineDateNames());
}

} // namespace info
