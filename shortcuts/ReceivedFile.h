#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace shortcuts {

// The arguments of a command line as the program reads them; the first is the program itself.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

} // namespace shortcuts
