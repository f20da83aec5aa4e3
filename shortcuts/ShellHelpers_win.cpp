#include "shortcuts/ShellHelpers_win.h"

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/ShellLink.h"
#include "platform/SystemLibrary.h"
#include "services/FilePath.h"
#include "services/NumberText.h"
#include "shortcuts/ShortcutFile.h"

#include <cwchar>
#include <memory>
#include <vector>

namespace shortcuts {
namespace {

constexpr DWORD PathBufferLength = 261;

// The start of a file, as far as a shortcut's header and item list can reach: the list's size
// is a 16-bit word after a header of 0x4C bytes. Empty when the file cannot be read.
std::vector<unsigned char> ShortcutHead(const std::wstring& path) {
    std::vector<unsigned char> bytes(0x4C + 2 + 0xFFFF);
    const platform::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD read = 0;
    if (!file ||
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        read = 0;
    }
    bytes.resize(read);
    return bytes;
}

} // namespace

std::wstring GetSpecialFolderPath(int folder) {
    LPITEMIDLIST list = nullptr;
    // The owner window is reserved and unused.
    SHGetSpecialFolderLocation(nullptr, folder, &list);
    const platform::ItemIdList owner(list);
    wchar_t path[PathBufferLength]{};
    SHGetPathFromIDListW(owner.get(), path);
    std::wstring result(path);
    if (result.empty()) {
        // A caller would otherwise build "\Name.Lnk" and write into the drive's root.
        throw platform::Error(L"The special folder " + services::NumberText(folder) +
                              L" has no file-system path");
    }
    if (result.back() != L'\\') {
        result += L'\\';
    }
    return result;
}

namespace {

// For a file on a server that does not answer, the long form may take the network's own time
// out, far longer than anyone waits for a box: it is asked on a thread of its own, and given up
// after a while. The thread and the caller share the request; whoever ends last frees it.
struct LongPathRequest {
    std::wstring path;
    wchar_t buffer[PathBufferLength]{};
    DWORD length = 0;
};

constexpr DWORD LongPathWait = 3000;

DWORD WINAPI FindLongPath(void* parameter) {
    const std::unique_ptr<std::shared_ptr<LongPathRequest>> request(
        static_cast<std::shared_ptr<LongPathRequest>*>(parameter));
    LongPathRequest& asked = **request;
    asked.length = GetLongPathNameW(asked.path.c_str(), asked.buffer, PathBufferLength);
    return 0;
}

} // namespace

std::wstring GetLongPath(const std::wstring& path) {
    const auto request = std::make_shared<LongPathRequest>();
    request->path = path;
    auto threadsShare = std::make_unique<std::shared_ptr<LongPathRequest>>(request);
    const platform::UniqueHandle thread(
        CreateThread(nullptr, 0, &FindLongPath, threadsShare.get(), 0, nullptr));
    if (!thread) {
        return path;
    }
    threadsShare.release(); // the thread's now
    if (WaitForSingleObject(thread.get(), LongPathWait) != WAIT_OBJECT_0) {
        return path;
    }
    // A result at or above the capacity is the size needed: the buffer was left untouched.
    if (request->length == 0 || request->length >= PathBufferLength) {
        return path;
    }
    return std::wstring(request->buffer, request->length);
}

namespace {

std::wstring AskInstaller(const std::wstring& shortcutPath, const InstallerQueries& installer) {
    wchar_t product[39]{};
    wchar_t feature[MAX_FEATURE_CHARS + 1]{};
    wchar_t component[39]{};
    if (installer.shortcutTarget(shortcutPath.c_str(), product, feature, component) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    const INSTALLSTATE state = installer.componentPath(product, component, path.data(), &length);
    // Installed on this computer or run from its source; any other state leaves no file.
    if (state != INSTALLSTATE_LOCAL && state != INSTALLSTATE_SOURCE) {
        return {};
    }
    path.resize(std::wcslen(path.c_str()));
    // A component kept by a registry key gives the key, its root as a number: "02:\Software\...".
    if (!path.empty() && path[0] >= L'0' && path[0] <= L'9') {
        return {};
    }
    return path;
}

} // namespace

std::wstring InstalledTarget(const std::wstring& shortcutPath, const InstallerQueries& installer,
                             DWORD bound) {
    return services::CallWithinBound(
        [shortcutPath, installer] { return AskInstaller(shortcutPath, installer); }, bound,
        std::wstring());
}

namespace {

// msi.dll is loaded only for such a shortcut, from System32: Windows does not keep it among the
// DLLs it always loads from there. It stays: a question given up may still be asked in it.
const platform::SystemLibrary* installer = nullptr;

std::wstring AskWindowsInstaller(const std::wstring& shortcutPath) {
    try {
        if (installer == nullptr) {
            installer = new platform::SystemLibrary(L"msi.dll");
        }
        return InstalledTarget(
            shortcutPath, {installer->Get<decltype(MsiGetShortcutTargetW)>("MsiGetShortcutTargetW"),
                           installer->Get<decltype(MsiGetComponentPathW)>("MsiGetComponentPathW")});
    } catch (const platform::Error&) {
        return {}; // no installer to ask
    }
}

} // namespace

std::wstring ResolveShortcutTarget(const std::wstring& path) {
    const platform::ShellLink link;
    if (!HasSoundItemList(ShortcutHead(path)) ||
        FAILED(link.File().Load(path.c_str(), STGM_READ))) {
        return path;
    }
    // An installer's shortcut holds the path of its icon file, under Windows' Installer folder.
    if (link.HasInstallerDescriptor()) {
        return AskWindowsInstaller(path);
    }
    // The stored target is taken as it is, without Resolve: resolving may search the disks or
    // the network and show the shell's own windows, for a file that came from anywhere.
    const std::wstring target = link.Path();
    // A relative target names a file beside the shortcut, as the shell reads it, never one in
    // the program's current folder.
    const std::wstring absolute =
        services::TargetAgainstFolder(target, services::ExtractFilePath(platform::FullPath(path)));
    return absolute == target ? target : platform::FullPath(absolute);
}

namespace {

// Explorer by its full path: given a bare "explorer.exe", or a folder to open, the shell may
// start an "explorer.exe" from the current folder or the program's own, where anyone may have
// put one.
void StartExplorer(const std::wstring& parameters) {
    wchar_t windows[PathBufferLength]{};
    const UINT length = GetSystemWindowsDirectoryW(windows, PathBufferLength);
    if (length == 0 || length >= PathBufferLength) {
        return;
    }
    std::wstring explorer(windows, length);
    if (explorer.back() != L'\\') {
        explorer += L'\\';
    }
    explorer += L"explorer.exe";
    ShellExecuteW(nullptr, L"open", explorer.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

} // namespace

void ShowInExplorer(const std::wstring& path) {
    if (FileExists(path)) {
        StartExplorer(ExplorerSelectParameters(path));
    } else {
        StartExplorer(services::Quoted(services::ExtractFilePath(path)));
    }
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(services::ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool MakeFolder(const std::wstring& path) {
    // Read as Windows reads a path (its last name's trailing dots and blanks, "." and ".." gone)
    // before the extended form, which takes it as it is: the folder made is the one the path
    // names, which the shortcut points at.
    const std::wstring full = platform::FullPath(path);
    const std::wstring name = services::ExtendedLengthPath(full, services::LongestFolderPath);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    if (CreateDirectoryW(name.c_str(), nullptr)) {
        return true;
    }
    if (GetLastError() != ERROR_PATH_NOT_FOUND) {
        return false;
    }
    // Each parent is made on the way back; a drive or share root has none to make.
    const std::wstring parent = services::ParentFolder(full);
    if (parent.empty() || !MakeFolder(parent)) {
        return false;
    }
    if (CreateDirectoryW(name.c_str(), nullptr)) {
        return true;
    }
    // Another program may have made it at the same moment.
    const DWORD made = GetFileAttributesW(name.c_str());
    return made != INVALID_FILE_ATTRIBUTES && (made & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace shortcuts
