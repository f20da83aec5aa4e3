#pragma once

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <string>

namespace platform {

// A fresh shell link object with the two interfaces the program uses. Creating it or getting
// either interface raises an Error when it fails.
class ShellLink {
public:
    ShellLink();

    IShellLinkW& Link() const { return *link_.Get(); }
    IPersistFile& File() const { return *file_.Get(); }

    // Writes a shortcut holding only the target path; the result of Save, unchanged.
    HRESULT SaveTarget(const std::wstring& target, const std::wstring& linkPath) const;

private:
    Microsoft::WRL::ComPtr<IShellLinkW> link_;
    Microsoft::WRL::ComPtr<IPersistFile> file_;
};

} // namespace platform
