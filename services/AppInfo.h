#pragma once

#include "Version.h"

#include <string_view>

namespace services {

// What the program says about itself. The About box, the settings file and the web buttons
// read these; they live here alone. The version and the publisher's notice and addresses are
// build options (cmake/Version.cmake).
inline constexpr std::wstring_view AppTitle = L"Tavimbo";
inline constexpr std::wstring_view AppVersion = L"V" TAVIMBO_PRODUCT_VERSION_TEXT;
inline constexpr std::wstring_view CopyrightText = L"" TAVIMBO_COPYRIGHT_TEXT;
inline constexpr std::wstring_view ContactMail = L"" TAVIMBO_CONTACT_MAIL;
inline constexpr std::wstring_view HomePageUrl = L"" TAVIMBO_HOME_PAGE_URL;

// The question before closing, when the settings ask for it.
inline constexpr std::wstring_view CloseQuestion = L"終了してよいですか？";

} // namespace services
