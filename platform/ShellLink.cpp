#include "platform/ShellLink.h"

#include "platform/Handles.h"
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

Microsoft::WRL::ComPtr<IPersistStream> ShellLink::Persist() const {
    Microsoft::WRL::ComPtr<IPersistStream> persist;
    ThrowIfFailed(link_.As(&persist));
    return persist;
}

HRESULT ShellLink::WriteTo(HANDLE file, Microsoft::WRL::ComPtr<IStream>& saved) const {
    HRESULT result = CreateStreamOnHGlobal(nullptr, TRUE, saved.ReleaseAndGetAddressOf());
    if (FAILED(result)) {
        return result;
    }
    result = Persist()->Save(saved.Get(), TRUE);
    if (result != S_OK) {
        return result; // S_FALSE too: the object did not save as asked
    }
    ULARGE_INTEGER size{};
    HGLOBAL memory = nullptr;
    if (FAILED(result = IStream_Size(saved.Get(), &size)) ||
        FAILED(result = IStream_Reset(saved.Get())) ||
        FAILED(result = GetHGlobalFromStream(saved.Get(), &memory))) {
        return result;
    }
    // Flushed before anyone moves the file into place: after a power cut, a file whose new name
    // reached the disk before its bytes would hold zeros where the old shortcut was.
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, GlobalLock(memory), size.LowPart, &written, nullptr);
    GlobalUnlock(memory);
    if (!wrote || !FlushFileBuffers(file)) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    return written == size.LowPart ? S_OK : E_FAIL;
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
    // Held until the target is compared, which may wait on the target's server: it shares
    // delete, so that the program's end can remove it meanwhile.
    const UniqueFile file(CreateFileW(linkPath.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, nullptr));
    if (!file) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    Microsoft::WRL::ComPtr<IStream> bytes;
    const HRESULT saved = WriteTo(file.get(), bytes);
    if (saved != S_OK) {
        return saved;
    }
    // SetPath and Save report success for a target the shell stored empty or cut. The bytes are
    // read back as written, through no path: Windows documents none past MAX_PATH for Load.
    const ShellLink written;
    if (written.Persist()->Load(bytes.Get()) != S_OK ||
        !sameTarget(target, written.Path(DriveForm))) {
        return E_FAIL;
    }
    return S_OK;
}

} // namespace platform
