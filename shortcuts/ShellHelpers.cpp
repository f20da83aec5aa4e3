#include "shortcuts/ShellHelpers.h"

#include "app/Application.h"
#include "app/FilePath.h"
#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/ShellLink.h"
#include "shortcuts/ReceivedFile.h"
#include "shortcuts/ShortcutPath.h"

#include <vector>

namespace {

constexpr DWORD PathBufferLength = 261;

// The full form of a path, or the path itself when it has none that fits.
std::wstring FullPath(const std::wstring& path) {
    wchar_t full[PathBufferLength]{};
    const DWORD length = GetFullPathNameW(path.c_str(), PathBufferLength, full, nullptr);
    return length == 0 || length >= PathBufferLength ? path : std::wstring(full, length);
}

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
    SHGetSpecialFolderLocation(app::Application::Instance().Handle(), folder, &list);
    const platform::ItemIdList owner(list);
    wchar_t path[PathBufferLength]{};
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

std::wstring GetLongPath(const std::wstring& path) {
    wchar_t buffer[PathBufferLength]{};
    const DWORD length = GetLongPathNameW(path.c_str(), buffer, PathBufferLength);
    // A result at or above the capacity is the size needed: the buffer was left untouched.
    if (length == 0 || length >= PathBufferLength) {
        return path;
    }
    return std::wstring(buffer, length);
}

std::wstring ResolveShortcutTarget(const std::wstring& path) {
    const platform::ShellLink link;
    if (!shortcuts::HasSoundItemList(ShortcutHead(path)) ||
        FAILED(link.File().Load(path.c_str(), STGM_READ))) {
        return path;
    }
    // The stored target is taken as it is, without Resolve: resolving may search the disks or
    // the network and show the shell's own windows, for a file that came from anywhere.
    const std::wstring target = link.Path();
    // A relative target names a file beside the shortcut, as the shell reads it, never one in
    // the program's current folder.
    const std::wstring absolute =
        shortcuts::TargetAgainstFolder(target, app::ExtractFilePath(FullPath(path)));
    return absolute == target ? target : FullPath(absolute);
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
        StartExplorer(shortcuts::ExplorerSelectParameters(path));
    } else {
        StartExplorer(app::Quoted(app::ExtractFilePath(path)));
    }
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
