#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace shortcuts {

// The arguments of a command line as the program reads them; the first is the program itself.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The extension of a path, the "." included, or empty when the path's last component has none.
std::wstring_view PathExtension(std::wstring_view path);

// False when a shortcut file's item identifier list is damaged: its size runs past the file, or
// its items do not end exactly at its end with a terminator. Wine's shell link object can
// hang on such a list; other damage is left to it.
bool HasSoundItemList(const std::vector<unsigned char>& shortcut);

} // namespace shortcuts
