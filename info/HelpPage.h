#pragma once

#include <functional>
#include <optional>
#include <string>

namespace info {

// The executable's path with its extension replaced by ".chm".
std::wstring HelpFileName(const std::wstring& exePath);

// Looks for the help file beside the executable, then in each parent folder up to the root of
// the drive or share. fileExists answers whether a path names an existing file (a folder does
// not count). Throws when a missing candidate is too long to take apart.
std::optional<std::wstring>
FindHelpFile(const std::wstring& exePath,
             const std::function<bool(const std::wstring&)>& fileExists);

// The message shown when no help file was found.
std::wstring HelpFileNotFoundText(const std::wstring& exePath);

} // namespace info
