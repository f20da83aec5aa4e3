#include "shortcuts/ShortcutPath.h"

#include "app/FilePath.h"
#include "platform/Error.h"

namespace shortcuts {

std::wstring ShortcutBaseName(std::wstring_view targetPath, std::wstring_view exePath,
                              std::wstring_view appTitle) {
    if (targetPath == exePath) {
        return std::wstring(appTitle);
    }
    if (app::HasInvalidPathCharacters(targetPath)) {
        throw platform::Error(L"Invalid characters in path");
    }
    const std::wstring fileName = app::ExtractFileName(targetPath);
    return fileName.substr(0, fileName.rfind(L'.'));
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

bool IsSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

bool IsReservedDeviceName(std::wstring_view fileName) {
    std::wstring_view base = fileName.substr(0, fileName.find(L'.'));
    while (!base.empty() && base.back() == L' ') {
        base.remove_suffix(1);
    }
    std::wstring upper(base);
    for (wchar_t& c : upper) {
        c = AsciiUpper(c);
    }
    if (upper == L"CON" || upper == L"PRN" || upper == L"AUX" || upper == L"NUL") {
        return true;
    }
    return upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
           upper[3] >= L'1' && upper[3] <= L'9';
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

std::wstring ShortcutPathIn(std::wstring folderPath, std::wstring_view baseName) {
    if (folderPath.empty() || folderPath.back() != L'\\') {
        folderPath += L'\\';
    }
    return folderPath.append(baseName).append(L".Lnk");
}

std::wstring ExplorerSelectParameters(std::wstring_view filePath) {
    return L"/select," + app::Quoted(filePath);
}

} // namespace shortcuts
