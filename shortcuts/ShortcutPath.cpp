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
