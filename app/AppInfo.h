#pragma once

#include <string_view>

// What the program says about itself. The About box, the settings file and the web buttons
// read these; they live here alone.
inline constexpr std::wstring_view AppTitle = L"Tavimbo";
inline constexpr std::wstring_view AppVersion = L"V1.1";
inline constexpr std::wstring_view CopyrightText = L"Copyright (C) 2026 The Tavimbo developers";
inline constexpr std::wstring_view ContactMail = L"support@tavimbo.example";
inline constexpr std::wstring_view HomePageUrl = L"https://tavimbo.example/";
