#pragma once

#include <string>
#include <string_view>

namespace shortcuts {

// True when the path holds a character Windows does not allow in paths: code points 0 to 31,
// the double quote, "<", ">" and "|".
bool HasInvalidPathCharacters(std::wstring_view path);

// The text after the last "\", "/" or ":", or the whole path when it holds none of them.
std::wstring_view FileNameOf(std::wstring_view path);

// The path up to and including its last "\" or ":"; empty when it holds neither.
std::wstring_view FolderPartOf(std::wstring_view path);

// The name a target's shortcut goes by: the application title for the executable itself
// (compared code unit by code unit), else the target's file name up to its last ".". Raises
// "Invalid characters in path" for any other target holding a character not allowed in paths.
std::wstring ShortcutBaseName(std::wstring_view targetPath, std::wstring_view exePath,
                              std::wstring_view appTitle);

// The folder path with its trailing "\" made sure of, the base name and ".Lnk".
std::wstring ShortcutPathIn(std::wstring folderPath, std::wstring_view baseName);

// Explorer's parameters that open a file's folder with the file selected.
std::wstring ExplorerSelectParameters(std::wstring_view filePath);

// The path in double quotes, as the shell takes a path with blanks.
std::wstring Quoted(std::wstring_view path);

} // namespace shortcuts
