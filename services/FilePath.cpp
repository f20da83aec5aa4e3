#include "services/FilePath.h"

#include <algorithm>

namespace services {

namespace {

constexpr std::wstring_view Delimiters = L"\\/:";

bool IsDelimiter(wchar_t character) {
    return Delimiters.find(character) != std::wstring_view::npos;
}

bool IsSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The length of the folder part, trailing delimiter included.
std::size_t FolderLength(std::wstring_view path) {
    const std::size_t last = path.find_last_of(Delimiters);
    return last == std::wstring_view::npos ? 0 : last + 1;
}

// \\server\share, with or without a separator after it, and \\server alone.
bool IsShareRoot(std::wstring_view path) {
    if (path.size() < 2 || !IsSlash(path[0]) || !IsSlash(path[1])) {
        return false;
    }
    int separators = 0;
    for (std::size_t i = 2; i < path.size(); ++i) {
        if (IsSlash(path[i]) && i + 1 < path.size()) {
            ++separators;
        }
    }
    return separators <= 1;
}

bool IsDriveRoot(std::wstring_view path) {
    return (path.size() == 2 && path[1] == L':') ||
           (path.size() == 3 && path[1] == L':' && IsSlash(path[2]));
}

} // namespace

std::wstring ChangeFileExtension(std::wstring_view path, std::wstring_view extension) {
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t end =
        dot != std::wstring_view::npos && dot >= FolderLength(path) ? dot : path.size();
    std::wstring result(path.substr(0, end));
    result += extension;
    return result;
}

std::wstring ExtractFileName(std::wstring_view path) {
    return std::wstring(path.substr(FolderLength(path)));
}

std::wstring ExtractFileDirectory(std::wstring_view path) {
    std::size_t length = FolderLength(path);
    // "C:\" and "\" keep their delimiter: without it they would name something else.
    if (length > 1 && path[length - 1] != L':' && !IsDelimiter(path[length - 2])) {
        --length;
    }
    return std::wstring(path.substr(0, length));
}

std::wstring_view ExtractFilePath(std::wstring_view path) {
    const size_t separator = path.find_last_of(L"\\:");
    return separator == std::wstring_view::npos ? std::wstring_view()
                                                : path.substr(0, separator + 1);
}

std::wstring_view ExtractFileExtension(std::wstring_view path) {
    const size_t dot = path.find_last_of(L".\\:");
    if (dot == std::wstring_view::npos || path[dot] != L'.') {
        return {};
    }
    return path.substr(dot);
}

std::wstring ParentFolder(const std::wstring& path) {
    if (IsDriveRoot(path) || IsShareRoot(path)) {
        return {};
    }
    const std::size_t last = path.find_last_of(L"\\/");
    if (last == std::wstring::npos) {
        return {};
    }
    // Only a drive's colon keeps the separator after it: kept after any other colon, "X:\"
    // would be its own parent, and the help search would never come to an end.
    const bool driveColon = last == 2 || (last == 6 && path.starts_with(L"\\\\?\\"));
    if (driveColon && path[last - 1] == L':') {
        return path.substr(0, last + 1);
    }
    return path.substr(0, last);
}

bool HasInvalidPathCharacters(std::wstring_view path) {
    return std::any_of(path.begin(), path.end(), [](wchar_t c) {
        return c < 32 || c == L'"' || c == L'<' || c == L'>' || c == L'|';
    });
}

std::wstring Quoted(std::wstring_view path) {
    return L"\"" + std::wstring(path) + L"\"";
}

bool FitsPathBuffer(std::wstring_view path) {
    return path.size() <= LongestPath;
}

namespace {

// ASCII letters only: Windows matches device names and drive letters without any locale.
wchar_t AsciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool HasDrive(std::wstring_view path) {
    return path.size() >= 2 && AsciiUpper(path[0]) >= L'A' && AsciiUpper(path[0]) <= L'Z' &&
           path[1] == L':';
}

// Windows' reserved device names, as it matches them: whole, without regard to the case of
// ASCII letters. The superscript digits are U+00B9, U+00B2 and U+00B3.
constexpr std::wstring_view ReservedDeviceNames[] = {
    L"CON",  L"PRN",  L"AUX",       L"NUL",       L"COM0",      L"COM1",
    L"COM2", L"COM3", L"COM4",      L"COM5",      L"COM6",      L"COM7",
    L"COM8", L"COM9", L"COM\u00B9", L"COM\u00B2", L"COM\u00B3", L"LPT0",
    L"LPT1", L"LPT2", L"LPT3",      L"LPT4",      L"LPT5",      L"LPT6",
    L"LPT7", L"LPT8", L"LPT9",      L"LPT\u00B9", L"LPT\u00B2", L"LPT\u00B3",
};

} // namespace

std::wstring ExtendedLengthPath(const std::wstring& path, std::size_t longest) {
    // Only long paths: the extended form also turns off the rest of Windows' reading of a path
    // (trailing dots and blanks, "/", "." and ".."), which a path that fits keeps as before.
    if (path.size() <= longest || path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) {
        return path;
    }
    if (path.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + path.substr(2);
    }
    if (HasDrive(path) && path.size() > 2 && path[2] == L'\\') {
        return L"\\\\?\\" + path;
    }
    return path;
}

bool IsReservedDeviceName(std::wstring_view fileName) {
    std::wstring_view base = fileName.substr(0, fileName.find(L'.'));
    while (!base.empty() && base.back() == L' ') {
        base.remove_suffix(1);
    }
    std::wstring upper(base);
    for (wchar_t& c : upper) {
        c = AsciiUpper(c);
    }
    return std::ranges::find(ReservedDeviceNames, std::wstring_view(upper)) !=
           std::ranges::end(ReservedDeviceNames);
}

std::wstring TargetAgainstFolder(std::wstring_view target, std::wstring_view shortcutFolder) {
    std::wstring folder(shortcutFolder);
    if (!folder.empty() && !IsSlash(folder.back()) && folder.back() != L':') {
        folder += L'\\';
    }
    const std::wstring whole(target);
    // Empty, or a UNC path.
    if (target.empty() || (target.size() > 1 && IsSlash(target[0]) && IsSlash(target[1]))) {
        return whole;
    }
    if (IsSlash(target[0])) {
        return (HasDrive(folder) ? folder.substr(0, 2) : std::wstring()) + whole;
    }
    if (!HasDrive(target)) {
        return folder + whole;
    }
    const std::wstring rest(target.substr(2));
    if (!rest.empty() && IsSlash(rest[0])) {
        return whole;
    }
    if (HasDrive(folder) && AsciiUpper(folder[0]) == AsciiUpper(target[0])) {
        return folder + rest;
    }
    return whole.substr(0, 2) + L"\\" + rest;
}

namespace {

std::wstring ComparableTarget(std::wstring_view spelling, LongFormLookup* longForm) {
    std::wstring path(spelling);
    // "?" and "*" are in no file name: a conversion left "?" for what it could not hold, and
    // a look-up would take the name for a pattern and find the file that was lost.
    if (path.find_first_of(L"?*") == std::wstring::npos) {
        path = longForm(path);
    }
    while (path.size() > 1 && IsSlash(path.back()) && !IsDriveRoot(path)) {
        path.pop_back();
    }
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

} // namespace

bool NamesSameTarget(std::wstring_view given, std::wstring_view stored, LongFormLookup* longForm,
                     FileNamesEqual* namesEqual) {
    return namesEqual(ComparableTarget(given, longForm), ComparableTarget(stored, longForm));
}

} // namespace services
