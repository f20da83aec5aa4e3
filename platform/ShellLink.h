#pragma once

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

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

    // The target path the object holds ("" when none is a file-system path), read through a
    // buffer far longer than MAX_PATH: a target of 259 characters comes back whole, and a longer
    // one as long as the object gives it. flags are GetPath's SLGP_ flags.
    std::wstring Path(DWORD flags = SLGP_UNCPRIORITY) const;

    // The link carries a Windows Installer descriptor: its target is the installer's to name,
    // whatever path it also holds.
    bool HasInstallerDescriptor() const;

    // Whether the target given and the one the object holds (stored) are the same.
    using SameTarget = bool(const std::wstring& given, const std::wstring& stored);

    // Writes a shortcut holding only the target path as a new file, hidden (and a system file,
    // which Explorer hides even where it shows hidden files), then reads the bytes written back
    // with a fresh object: S_OK only when the file was written whole and holds the same target;
    // otherwise the file's own error (a file of that name already there among others), the
    // save's, or E_FAIL (the file may then hold another target).
    HRESULT SaveTarget(const std::wstring& target, const std::wstring& linkPath,
                       SameTarget* sameTarget) const;

    // The object's shortcut as it saves it into a stream (saved, from its start afterwards),
    // written to the file from its position and flushed to the disk: S_OK, or the save's or the
    // file's error.
    HRESULT WriteTo(HANDLE file, Microsoft::WRL::ComPtr<IStream>& saved) const;

private:
    Microsoft::WRL::ComPtr<IPersistStream> Persist() const;

    Microsoft::WRL::ComPtr<IShellLinkW> link_;
    Microsoft::WRL::ComPtr<IPersistFile> file_;
};

} // namespace platform
