#include "shortcuts/ShellHelpers.h"

#include "app/Application.h"
#include "platform/Error.h"
#include "platform/Handles.h"

std::wstring GetSpecialFolderPath(int folder) {
    LPITEMIDLIST list = nullptr;
    SHGetSpecialFolderLocation(app::Application::Instance().Handle(), folder, &list);
    const platform::ItemIdList owner(list);
    wchar_t path[261]{};
    SHGetPathFromIDListW(owner.get(), path);
    std::wstring result(path);
    if (result.empty()) {
        // A caller would otherwise build "\Name.Lnk" and write into the drive's root.
        throw platform::Error(L"The special folder " + std::to_wstring(folder) +
                              L" has no file-system path");
    }
    if (result.back() != L'\\') {
        result += L'\\';
    }
    return result;
}
