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

} // namespace shortcuts
