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

// The path up to and including its last "\" or ":"; empty when it holds neither.
std::wstring_view ExtractFilePath(std::wstring_view path);

// The extension of a path, the "." included, or empty when the text after the last "\" or ":"
// has no ".".
std::wstring_view ExtractFileExtension(std::wstring_view path);

// What precedes the last backslash or slash. A separator right after a drive colon is kept
// (C:\Tools gives C:\); a drive root (C:\) or a share root (\\server\share) has none.
std::wstring ParentFolder(const std::wstring& path);

// True when the path holds a character Windows does not allow in paths: code points 0 to 31,
// the double quote, "<", ">" and "|".
bool HasInvalidPathCharacters(std::wstring_view path);

// The path in double quotes, as the shell takes a path with blanks.
std::wstring Quoted(std::wstring_view path);

} // namespace app
