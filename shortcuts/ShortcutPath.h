#pragma once

#include <string>
#include <string_view>

namespace shortcuts {

// The name a target's shortcut goes by: the application title for the executable itself
// (compared code unit by code unit), else the target's file name up to its last ".". Raises
// "Invalid characters in path" for any other target holding a character not allowed in paths.
std::wstring ShortcutBaseName(std::wstring_view targetPath, std::wstring_view exePath,
                              std::wstring_view appTitle);

// The folder path with its trailing "\" made sure of, the base name and ".Lnk".
std::wstring ShortcutPathIn(std::wstring folderPath, std::wstring_view baseName);

// Explorer's parameters that open a file's folder with the file selected.
std::wstring ExplorerSelectParameters(std::wstring_view filePath);

} // namespace shortcuts
