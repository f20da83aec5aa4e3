#pragma once

#include <windows.h>

#include "app/TextEncoding.h"

#include <optional>
#include <string>

namespace app {

// An entry of an INI file as Windows itself reads it; empty when the file, section or key is
// missing.
std::wstring ReadProfileString(const std::wstring& path, const wchar_t* section,
                               const wchar_t* key);

// The settings file's text and the encoding it came in; no encoding means the ANSI code page
// without a mark.
struct SettingsText {
    std::wstring text;
    std::optional<TextEncoding> encoding;
};

// Reads the file while denying other programs write access; a missing file is empty.
SettingsText ReadSettingsFile(const std::wstring& path);

// Replaces the file in one step, so that a reader sees either the old file or the new one.
void WriteSettingsFile(const std::wstring& path, const SettingsText& contents);

// The user's short date and long time; the date alone at exactly midnight.
std::wstring DateTimeText(const SYSTEMTIME& time);

} // namespace app
