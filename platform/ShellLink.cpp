#include "platform/ShellLink.h"

#include "platform/Win32Error.h"

#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>

namespace platform {
std::wstring FullPath(const std::wstring& path) {
    wchar_t full[261]{};
    const DWORD length = GetFullPathNameW(path.c_str(), 261, full, nullptr);
    return length == 0 || length >= 261 ? path : std::wstring(full, length);
}

ShellLink::ShellLink() {
    Microsoft::WRL::ComPtr<IUnknown> object;
    ThrowIfFailed(CoCreateInstance(CLSID_ShellLink, nullptr,
                                   CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(object.GetAddressOf())));
    ThrowIfFailed(object.As(&link_));
    ThrowIfFailed(object.As(&file_));
}

std::wstring ShellLink::Path(DWORD flags) const {
    // With a buffer of MAX_PATH a target of 259 characters could not be told from a longer one
    // cut to fit. Wine's object gives a longer target whole; Windows documents no more than
    // MAX_PATH coming back, so there such a target may still come back cut to 259 characters.
    std::wstring path(32768, L'\0');
    // No find-data record: the shell copies a long target's file name into it without bound.
    link_->GetPath(path.data(), static_cast<int>(path.size()), nullptr, flags);
    path.resize(std::wcslen(path.c_str()));
    return path;
}

HRESULT ShellLink::SaveAsNewHiddenFile(const std::wstring& path) const {
    // Through a stream on a file made here: IPersistFile::Save opens its file as Windows opens
    // a new one, which it refuses over a hidden file.
    Microsoft::WRL::ComPtr<IPersistStream> persist;
    ThrowIfFailed(link_.As(&persist));
    Microsoft::WRL::ComPtr<IStream> stream;
    const HRESULT created = SHCreateStreamOnFileEx(
        path.c_str(), STGM_WRITE | STGM_SHARE_EXCLUSIVE | STGM_FAILIFTHERE,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, TRUE, nullptr, stream.GetAddressOf());
    return FAILED(created) ? created : persist->Save(stream.Get(), TRUE);
}

bool ShellLink::HasInstallerDescriptor() const {
    Microsoft::WRL::ComPtr<IShellLinkDataList> data;
    DWORD flags = 0;
    return SUCCEEDED(link_.As(&data)) && SUCCEEDED(data->GetFlags(&flags)) &&
           (flags & SLDF_HAS_DARWINID) != 0;
}

HRESULT ShellLink::SaveTarget(const std::wstring& target, const std::wstring& linkPath,
                              SameTarget* sameTarget) const {
    // A target on a mapped drive is read back as given, not in its share's form.
    constexpr DWORD DriveForm = 0;
    link_->SetPath(target.c_str());
    const HRESULT saved = SaveAsNewHiddenFile(linkPath);
    if (saved != S_OK) {
        return saved;
    }
    // SetPath and Save report success for a target the shell stored empty or cut.
    const ShellLink written;
    if (written.File().Load(linkPath.c_str(), STGM_READ) != S_OK ||
        !sameTarget(target, written.Path(DriveForm))) {
        return E_FAIL;
    }
    return S_OK;
}

} // namespace platform
