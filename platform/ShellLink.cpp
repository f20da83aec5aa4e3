#include "platform/ShellLink.h"

#include "platform/Win32Error.h"

#include <shlguid.h>

#include <cwchar>

namespace platform {
std::wstring FullPath(const std::wstring& path) {
    wchar_t full[261]{};
    const DWORD length = GetFullPathNameW(path.c_str(), 261, full, nullptr);
    return length == 0 || length >= 261 ? path : std::wstring(full, length);
}

namespace {

// The object stores a target in its full form, with Windows' own separators: that is the same
// target, as long as nothing of it is lost.
bool HoldsTarget(const std::wstring& stored, const std::wstring& target) {
    return stored == target || stored == FullPath(target);
}

} // namespace

ShellLink::ShellLink() {
    Microsoft::WRL::ComPtr<IUnknown> object;
    ThrowIfFailed(CoCreateInstance(CLSID_ShellLink, nullptr,
                                   CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(object.GetAddressOf())));
    ThrowIfFailed(object.As(&link_));
    ThrowIfFailed(object.As(&file_));
}

std::wstring ShellLink::Path() const {
    // With a buffer of MAX_PATH a target of 259 characters could not be told from a longer one
    // cut to fit. Wine's object gives a longer target whole; Windows documents no more than
    // MAX_PATH coming back, so there such a target may still come back cut to 259 characters.
    std::wstring path(32768, L'\0');
    // No find-data record: the shell copies a long target's file name into it without bound.
    link_->GetPath(path.data(), static_cast<int>(path.size()), nullptr, SLGP_UNCPRIORITY);
    path.resize(std::wcslen(path.c_str()));
    return path;
}

HRESULT ShellLink::SaveTarget(const std::wstring& target, const std::wstring& linkPath) const {
    link_->SetPath(target.c_str());
    // The object may hold another path than the one given (emptied or cut) and still report
    // success: then nothing is written.
    if (!HoldsTarget(Path(), target)) {
        return E_FAIL;
    }
    const HRESULT saved = file_->Save(linkPath.c_str(), FALSE);
    if (saved != S_OK) {
        return saved;
    }
    // Save reports success for a target the shell stored empty or cut.
    const ShellLink written;
    if (written.File().Load(linkPath.c_str(), STGM_READ) != S_OK ||
        !HoldsTarget(written.Path(), target)) {
        return E_FAIL;
    }
    return S_OK;
}

} // namespace platform
