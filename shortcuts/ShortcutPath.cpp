#include "shortcuts/ShortcutPath.h"

#include "platform/Error.h"

#include <algorithm>

namespace shortcuts {

bool HasInvalidPathCharacters(std::wstring_view path) {
    return std::any_of(path.begin(), path.end(), [](wchar_t c) {
        return c < 32 || c == L'"' || c == L'<' || c == L'>' || c == L'|';
    });
}

std::wstring_view FileNameOf(std::wstring_view path) {
    const size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

std::wstring_view FolderPartOf(std::wstring_view path) {
    const size_t separator = path.find_last_of(L"\\:");
    return separator == std::wstring_view::npos ? std::wstring_view()
                                                : path.substr(0, separator + 1);
}

std::wstring ShortcutBaseName(std::wstring_view targetPath, std::wstring_view exePath,
                              std::wstring_view appTitle) {
    if (targetPath == exePath) {
        return std::wstring(appTitle);
    }
    if (HasInvalidPathCharacters(targetPath)) {
        throw platform::Error(L"Invalid characters in path");
    }
    const std::wstring_view fileName = FileNameOf(targetPath);
    return std::wstring(fileName.substr(0, fileName.rfind(L'.')));
}

std::wstring ShortcutPathIn(std::wstring folderPath, std::wstring_view baseName) {
    if (folderPath.empty() || folderPath.back() != L'\\') {
        folderPath += L'\\';
    }
    return folderPath.append(baseName).append(L".Lnk");
}

std::wstring ExplorerSelectParameters(std::wstring_view filePath) {
    return L"/select," + Quoted(filePath);
}

std::wstring Quoted(std::wstring_view path) {
    return L"\"" + std::wstring(path) + L"\"";
}

} // namespace shortcuts
