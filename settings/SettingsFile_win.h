#pragma once

#include <windows.h>

#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "settings/TextEncoding.h"

#include "platform/Error.h"
#include "platform/Handles.h"

#include <cstdint>
#include <optional>
#include <string>

namespace settings {

// An entry of an INI file as Windows itself reads it; empty when the file, section or key is
// missing.
std::wstring ReadProfileString(const std::wstring& path, const wchar_t* section,
                               const wchar_t* key);

// The settings file's text and the encoding it came in; no encoding means the ANSI code page
// without a mark.
struct SettingsText {
    std::wstring text;
    std::optional<TextEncoding> encoding;
    std::optional<std::string> bytes; // the file as it was read; none when there was no file
};

// The system's error code when the file exists but cannot be read, or another run's save has it
// away or half written, else 0.
DWORD SettingsFileReadError(const std::wstring& path);

// The error of a settings file that cannot be read.
platform::Error CannotOpenError(const std::wstring& path, DWORD code);

// Held while the settings file is read or saved: copies of the program that start or close
// together (a sign-out closes them all) take turns, so that none finds the file away while
// another's replacement puts the new one in its place. Copies of the same user take turns
// whether or not they run elevated. A copy that does not let go is waited for a few seconds at
// most.
class SettingsFileLock {
public:
    explicit SettingsFileLock(const std::wstring& path);
    ~SettingsFileLock();
    SettingsFileLock(const SettingsFileLock&) = delete;
    SettingsFileLock& operator=(const SettingsFileLock&) = delete;

private:
    platform::UniqueHandle mutex_;
    bool owned_ = false;
};

// Takes up what ended runs' saves left, then reads the file while denying other programs write
// access; a missing file is empty.
SettingsText ReadSettingsFile(const std::wstring& path);

// Replaces the file that was read, keeping its attributes, security and streams, or rewrites it
// in place when it cannot be replaced or is a link; creates it when there was none. A failed or
// interrupted save leaves the old file whole, or what puts it back at the next read.
void WriteSettingsFile(const std::wstring& path, const SettingsText& contents);

// Reads the file, lets change alter the text, and saves it, all under the lock: every copy's
// save is whole, and the last one's is the file's.
template <class Change> void UpdateSettingsFile(const std::wstring& path, Change change) {
    const SettingsFileLock lock(path);
    SettingsText contents = ReadSettingsFile(path);
    change(contents.text);
    WriteSettingsFile(path, contents);
}

// The user's short date and long time; the date alone at exactly midnight.
std::wstring DateTimeText(const SYSTEMTIME& time);

} // namespace settings
