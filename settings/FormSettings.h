#pragma once

#include "settings/SettingsFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace settings {

// The main window's placement as the settings file keeps it: WINDOWPLACEMENT's numbers.
struct Placement {
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 0;
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// What the main window takes from the settings file and gives back to it.
struct FormSettings {
    Placement placement;
    int windowState = 0; // 0 normal, 1 minimised, 2 maximised
    bool closeQuery = false;
    bool saveStatus = false;
};

// An entry of the settings file as Windows reads it; empty when it is missing.
using EntryReader = std::function<std::wstring(const wchar_t* section, const wchar_t* key)>;

// What the window shows with. An entry that is missing or no number keeps the current
// placement's flags and maximised position and the window state given; the normal rectangle's
// top defaults to a third of the work area's height, its left to half of what the work area's
// width leaves beside the window's height, its right and bottom to left + top and top + top.
FormSettings ReadFormSettings(const EntryReader& read, const Placement& current, int windowState,
                              std::int32_t workWidth, std::int32_t workHeight,
                              std::int32_t windowHeight);

// Rewrites the program's sections: PROGRAM with the executable and the time of closing; POSITION
// and MODE only when the state is to be saved, otherwise they are dropped.
void WriteFormSettings(IniFile& file, const FormSettings& settings, std::wstring_view exePath,
                       std::wstring_view closeTime);

} // namespace settings
