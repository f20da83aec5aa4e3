#include "app/FilePath.h"

#include <algorithm>

namespace app {

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

} // namespace app
