#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace services {

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

// The longest path the program hands to the shell or takes from it: MAX_PATH less the NUL, what
// the shell link object stores and gives back whole, and the longest file path the shell writes
// for a program that does not declare itself aware of long paths.
inline constexpr std::size_t LongestPath = 259;
bool FitsPathBuffer(std::wstring_view path);

// The longest folder path Windows creates without the extended form: room is left in MAX_PATH
// for a file name of 8.3 below it.
inline constexpr std::size_t LongestFolderPath = 247;

// A full path ("C:\..." or "\\server\share\...") longer than `longest` in the form Windows
// takes whatever its length ("\\?\C:\..." or "\\?\UNC\server\share\..."), so that a file
// put there some other way can still be found and deleted. Every other path stays as it is.
std::wstring ExtendedLengthPath(const std::wstring& path, std::size_t longest = LongestPath);

// True when Windows takes a file of that name for a device: the part before the first "." (its
// trailing blanks ignored) is one of the reserved names in any case (CON, PRN, AUX, NUL, COM0 to
// COM9, LPT0 to LPT9, and COM or LPT followed by a superscript 1, 2 or 3).
bool IsReservedDeviceName(std::wstring_view fileName);

// A target as the shell reads one stored relative to the shortcut: "name" and "..\name" within
// the shortcut's folder, "\name" on its drive, "D:name" in the folder when it is on D:, else
// at the root of D:. Full paths, UNC paths and the empty target stay as they are.
std::wstring TargetAgainstFolder(std::wstring_view target, std::wstring_view shortcutFolder);

// The long form of a path (long names for 8.3 ones, as on disk), or the path itself.
using LongFormLookup = std::wstring(const std::wstring& path);

// Equal as the file system compares names: code unit by code unit, without regard to case.
using FileNamesEqual = bool(std::wstring_view first, std::wstring_view second);

// True when the target a shortcut gives back (stored) is the target it was given, however
// spelt: equal file names once both are in their long form, with backslashes only and no
// trailing separator. Never for a spelling that lost characters: one cut short, or holding "?"
// where the other holds a character.
bool NamesSameTarget(std::wstring_view given, std::wstring_view stored, LongFormLookup* longForm,
                     FileNamesEqual* namesEqual);

} // namespace services
