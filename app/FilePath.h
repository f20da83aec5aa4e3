#pragma once

#include <string>
#include <string_view>

namespace app {

// Path names split as Windows does: "\", "/" and ":" end a folder or drive name.

// The path with its extension replaced, or the extension appended when the name has none.
std::wstring ChangeFileExtension(std::wstring_view path, std::wstring_view extension);
std::wstring ExtractFileName(std::wstring_view path);
// The folder without its trailing delimiter, except that a drive root keeps it.
std::wstring ExtractFileDirectory(std::wstring_view path);

} // namespace app
