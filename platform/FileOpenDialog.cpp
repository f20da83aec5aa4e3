#include "platform/FileOpenDialog.h"

#include "platform/Handles.h"
#include "platform/Win32Error.h"

#include <shlobj.h>
#include <wrl/client.h>

namespace platform {

std::optional<std::wstring> ShowFileOpenDialog(const FileOpenRequest& request) {
    Microsoft::WRL::ComPtr<IFileOpenDialog> dialog;
    ThrowIfFailed(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(dialog.GetAddressOf())));
    // Options first: Wine's dialog puts its own title on when it is made a folder picker.
    ThrowIfFailed(dialog->SetOptions(request.options));
    ThrowIfFailed(dialog->SetTitle(request.title.c_str()));
    if (!request.fileTypes.empty()) {
        std::vector<COMDLG_FILTERSPEC> filters;
        for (const auto& [name, pattern] : request.fileTypes) {
            filters.push_back({name.c_str(), pattern.c_str()});
        }
        ThrowIfFailed(dialog->SetFileTypes(static_cast<UINT>(filters.size()), filters.data()));
        ThrowIfFailed(dialog->SetFileTypeIndex(1));
    }
    // A folder that is gone leaves the dialog where it would open anyway; the pick still works.
    Microsoft::WRL::ComPtr<IShellItem> folder;
    if (SUCCEEDED(SHCreateItemFromParsingName(request.folder.c_str(), nullptr,
                                              IID_PPV_ARGS(folder.GetAddressOf())))) {
        ThrowIfFailed(dialog->SetFolder(folder.Get()));
    }
    ThrowIfFailed(dialog->SetFileName(request.fileName.c_str()));

    const HRESULT shown = dialog->Show(request.owner);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        return std::nullopt;
    }
    ThrowIfFailed(shown);
    Microsoft::WRL::ComPtr<IShellItem> result;
    ThrowIfFailed(dialog->GetResult(result.GetAddressOf()));
    wchar_t* path = nullptr;
    ThrowIfFailed(result->GetDisplayName(SIGDN_FILESYSPATH, &path));
    const CoTaskMemPtr<wchar_t> owner(path);
    return std::wstring(path);
}

} // namespace platform
