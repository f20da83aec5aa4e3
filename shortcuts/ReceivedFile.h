#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace shortcuts {

// The arguments of a command line as the program reads them; the first is the program itself.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The extension of a path, the "." included, or empty when the path's last component has none.
std::wstring_view PathExtension(std::wstring_view path);

} // namespace shortcuts
