#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace shortcuts {

// Shown when more than one file arrives at once; the first is taken.
inline constexpr std::wstring_view MultipleFilesWarning =
    L"複数のファイルは受け取れません。先頭のファイルを処理します。";

// The arguments of a command line as the program reads them; the first is the program itself.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// False when a shortcut file's item identifier list is damaged: its size runs past the file, or
// its items do not end exactly at its end with a terminator. Wine's shell link object can
// hang on such a list; other damage is left to it.
bool HasSoundItemList(const std::vector<unsigned char>& shortcut);

} // namespace shortcuts
