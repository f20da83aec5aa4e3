#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace shortcuts {

// The name a target's shortcut goes by: the application title for the executable itself
// (compared code unit by code unit), else the target's file name up to its last ".". Raises
// "Invalid characters in path" for any other target holding a character not allowed in paths.
std::wstring ShortcutBaseName(std::wstring_view targetPath, std::wstring_view exePath,
                              std::wstring_view appTitle);

// The longest path the program hands to the shell or takes from it. The shell link object gives
// a target back through a buffer of 260 characters, the NUL included, and cuts longer ones
// without saying so: a target of 259 characters cannot be told from a cut one.
inline constexpr std::size_t LongestPath = 258;
bool FitsPathBuffer(std::wstring_view path);

// True when Windows takes a file of that name for a device: the part before the first "." (its
// trailing blanks ignored) is CON, PRN, AUX, NUL, COM1 to COM9 or LPT1 to LPT9, in any case.
bool IsReservedDeviceName(std::wstring_view fileName);

// A target as the shell reads one stored relative to the shortcut: "name" and "..\name" within
// the shortcut's folder, "\name" on its drive, "D:name" in the folder when it is on D:, else
// at the root of D:. Full paths, UNC paths and the empty target stay as they are.
std::wstring TargetAgainstFolder(std::wstring_view target, std::wstring_view shortcutFolder);

// The folder path with its trailing "\" made sure of, the base name and ".Lnk".
std::wstring ShortcutPathIn(std::wstring folderPath, std::wstring_view baseName);

// Explorer's parameters that open a file's folder with the file selected.
std::wstring ExplorerSelectParameters(std::wstring_view filePath);

} // namespace shortcuts
