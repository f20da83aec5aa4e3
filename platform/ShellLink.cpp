#include "platform/ShellLink.h"

#include "platform/Win32Error.h"

#include <shlguid.h>

namespace platform {

ShellLink::ShellLink() {
    Microsoft::WRL::ComPtr<IUnknown> object;
    ThrowIfFailed(CoCreateInstance(CLSID_ShellLink, nullptr,
                                   CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(object.GetAddressOf())));
    ThrowIfFailed(object.As(&link_));
    ThrowIfFailed(object.As(&file_));
}

HRESULT ShellLink::SaveTarget(const std::wstring& target, const std::wstring& linkPath) const {
    link_->SetPath(target.c_str());
    return file_->Save(linkPath.c_str(), FALSE);
}

} // namespace platform
