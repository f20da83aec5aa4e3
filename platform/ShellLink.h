#pragma once

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>

namespace platform {

// The full form of a path, as the shell link object stores a target, or the path itself when it
// has none that fits in 260 characters.
std::wstring FullPath(const std::wstring& path);

// A fresh shell link object with the two interfaces the program uses. Creating it or getting
// either interface raises an Error when it fails.
class ShellLink {
public:
    ShellLink();

    IShellLinkW& Link() const { return *link_.Get(); }
    IPersistFile& File() const { return *file_.Get(); }

    // The target path the object holds ("" when none is a file-system path), read into a
    // buffer of 261 characters with capacity 260: longer targets come back cut. flags are
    // GetPath's SLGP_ flags.
    std::wstring Path(DWORD flags = SLGP_UNCPRIORITY) const;

    // Writes a shortcut holding only the target path, then reads the file back with a fresh
    // object: S_OK only when Save gave S_OK and holdsTarget takes what the file holds for the
    // target; otherwise Save's own result or E_FAIL. Nothing is written when holdsTarget does
    // not take what the object itself holds once given the target.
    HRESULT SaveTarget(const std::wstring& target, const std::wstring& linkPath,
                       const std::function<bool(const std::wstring& stored)>& holdsTarget) const;

private:
    Microsoft::WRL::ComPtr<IShellLinkW> link_;
    Microsoft::WRL::ComPtr<IPersistFile> file_;
};

} // namespace platform
