#include "info/HelpSearch.h"

#include "app/FilePath.h"
#include "platform/Error.h"

namespace info {
namespace {

constexpr std::size_t MaxPath = 260;

bool IsSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// \\server\share, with or without a separator after it, and \\server alone.
bool IsShareRoot(const std::wstring& path) {
    if (path.size() < 2 || !IsSlash(path[0]) || !IsSlash(path[1])) {
        return false;
    }
    int separators = 0;
    for (std::size_t i = 2; i < path.size(); ++i) {
        if (IsSlash(path[i]) && i + 1 < path.size()) {
            ++separators;
        }
    }
    return separators <= 1;
}

// The colon of "C:" at the start of a path, or after the "\\?\" of a long path.
bool IsDriveColon(const std::wstring& path, std::size_t index) {
    return index == 1 || (index == 5 && path.starts_with(L"\\\\?\\"));
}

bool IsDriveRoot(const std::wstring& path) {
    return (path.size() == 2 && path[1] == L':') ||
           (path.size() == 3 && path[1] == L':' && IsSlash(path[2]));
}

} // namespace

std::wstring FolderPart(const std::wstring& path) {
    if (IsDriveRoot(path) || IsShareRoot(path)) {
        return {};
    }
    const std::size_t last = path.find_last_of(L"\\/");
    if (last == std::wstring::npos) {
        return {};
    }
    // A colon elsewhere names no drive: keeping the separator after it would make "X:\" its
    // own folder part, and the help search would never come to an end.
    if (last > 0 && path[last - 1] == L':' && IsDriveColon(path, last - 1)) {
        return path.substr(0, last + 1);
    }
    return path.substr(0, last);
}

std::wstring HelpFileName(const std::wstring& exePath) {
    return app::ChangeFileExtension(exePath, L".chm");
}

std::optional<std::wstring>
FindHelpFile(const std::wstring& exePath,
             const std::function<bool(const std::wstring&)>& fileExists) {
    std::wstring candidate = HelpFileName(exePath);
    for (;;) {
        if (fileExists(candidate)) {
            return candidate;
        }
        if (candidate.size() >= MaxPath && candidate.rfind(L"\\\\?\\", 0) != 0) {
            throw platform::Error(L"The specified path is too long");
        }
        const std::wstring parent = FolderPart(FolderPart(candidate));
        if (parent.empty()) {
            return std::nullopt;
        }
        const std::wstring separator = IsSlash(parent.back()) ? L"" : L"\\";
        candidate = parent + separator + app::ExtractFileName(candidate);
    }
}

std::wstring HelpFileNotFoundText(const std::wstring& exePath) {
    return L"HelpFile Not Found.\r\n\r\n" + app::ExtractFileName(HelpFileName(exePath));
}

} // namespace info
