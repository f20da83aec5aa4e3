#pragma once

#include <windows.h>

#include "info/UkraineClock.h"

#include <string>

namespace info {

// The nominative month names and the weekday names of a Windows locale.
DateNames LocaleDateNames(LCID locale);

// Those of Ukrainian (1058), or of the thread's locale where Ukrainian is not installed.
DateNames UkraineDateNames();

// The system clock's UTC reading.
Instant UtcNow();

// The greeting and the current date and time in Ukraine, for the About box.
std::wstring UkraineTimeText();

} // namespace info
