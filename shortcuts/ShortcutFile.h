#pragma once

#include "services/RunTag.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shortcuts {

// The name a target's shortcut goes by: the application title for the executable itself
// (compared code unit by code unit), else the target's file name up to its last ".". Raises
// "Invalid characters in path" for any other target holding a character not allowed in paths.
std::wstring ShortcutBaseName(std::wstring_view targetPath, std::wstring_view exePath,
                              std::wstring_view appTitle);

// The folder path with its trailing "\" made sure of, the base name and ".Lnk".
std::wstring ShortcutPathIn(std::wstring folderPath, std::wstring_view baseName);

// The file a shortcut is written to before it takes the shortcut's name, beside it:
// "Tavimbo.<run tag>.<number>.tmp", the number counting the run's writes.
std::wstring TemporaryShortcutName(const services::RunTag& run, unsigned number);
// Every name TemporaryShortcutName gives matches it, and some others.
inline constexpr std::wstring_view TemporaryShortcutPattern = L"Tavimbo.*.tmp";
// The run that made a file of that name; none for any name TemporaryShortcutName does not give.
std::optional<services::RunTag> TemporaryShortcutRun(std::wstring_view fileName);

// The file attributes that a temporary takes once it is the shortcut, from those read from it:
// without the hidden and system ones it was made with, normal when none is left; none when
// they could not be read (INVALID_FILE_ATTRIBUTES), which set as they are would make it a
// read-only folder, among others.
std::optional<std::uint32_t> ShownAttributes(std::uint32_t read);

// Explorer's parameters that open a file's folder with the file selected.
std::wstring ExplorerSelectParameters(std::wstring_view filePath);

// False when a shortcut file's item identifier list is damaged: its size runs past the file, or
// its items do not end exactly at its end with a terminator. Wine's shell link object can
// hang on such a list; other damage is left to it.
bool HasSoundItemList(const std::vector<unsigned char>& shortcut);

} // namespace shortcuts
