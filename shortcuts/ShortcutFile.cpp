#include "shortcuts/ShortcutFile.h"

#include "services/FilePath.h"
#include "services/NumberText.h"
#include "platform/Error.h"

#include <algorithm>

namespace shortcuts {

std::wstring ShortcutBaseName(std::wstring_view targetPath, std::wstring_view exePath,
                              std::wstring_view appTitle) {
    if (targetPath == exePath) {
        return std::wstring(appTitle);
    }
    if (services::HasInvalidPathCharacters(targetPath)) {
        throw platform::Error(L"Invalid characters in path");
    }
    const std::wstring fileName = services::ExtractFileName(targetPath);
    return fileName.substr(0, fileName.rfind(L'.'));
}

std::wstring ShortcutPathIn(std::wstring folderPath, std::wstring_view baseName) {
    if (folderPath.empty() || folderPath.back() != L'\\') {
        folderPath += L'\\';
    }
    return folderPath.append(baseName).append(L".Lnk");
}

namespace {

constexpr std::wstring_view TemporaryPrefix = L"Tavimbo.";
constexpr std::wstring_view TemporaryExtension = L".tmp";

} // namespace

std::wstring TemporaryShortcutName(const services::RunTag& run, unsigned number) {
    return std::wstring(TemporaryPrefix) + services::RunTagText(run) + L'.' +
           services::NumberText(number) + std::wstring(TemporaryExtension);
}

std::optional<std::uint32_t> ShownAttributes(std::uint32_t read) {
    constexpr std::uint32_t Unread = 0xFFFFFFFF, Hidden = 0x2, System = 0x4, Normal = 0x80;
    if (read == Unread) {
        return std::nullopt;
    }
    const std::uint32_t shown = read & ~(Hidden | System);
    return shown != 0 ? shown : Normal;
}

std::optional<services::RunTag> TemporaryShortcutRun(std::wstring_view fileName) {
    // "Tavimbo.tmp" has both ends, which overlap.
    if (fileName.size() < TemporaryPrefix.size() + TemporaryExtension.size() ||
        !fileName.starts_with(TemporaryPrefix) || !fileName.ends_with(TemporaryExtension)) {
        return std::nullopt;
    }
    fileName.remove_prefix(TemporaryPrefix.size());
    fileName.remove_suffix(TemporaryExtension.size());
    // A computer's name may hold a ".", the numbers of the run tag never do.
    const std::size_t dot = fileName.rfind(L'.');
    const std::wstring_view number =
        dot == std::wstring_view::npos ? std::wstring_view() : fileName.substr(dot + 1);
    if (number.empty() ||
        !std::ranges::all_of(number, [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        return std::nullopt;
    }
    return services::ParseRunTag(fileName.substr(0, dot));
}

std::wstring ExplorerSelectParameters(std::wstring_view filePath) {
    return L"/select," + services::Quoted(filePath);
}

bool HasSoundItemList(const std::vector<unsigned char>& shortcut) {
    constexpr std::size_t listAt = 0x4C; // right after the header
    auto word = [&](std::size_t at) {
        return static_cast<std::size_t>(shortcut[at] | (shortcut[at + 1] << 8));
    };
    if (shortcut.size() < listAt || (shortcut[0x14] & 1) == 0) {
        return true;
    }
    if (shortcut.size() < listAt + 2) {
        return false;
    }
    const std::size_t end = listAt + 2 + word(listAt);
    if (end > shortcut.size()) {
        return false;
    }
    for (std::size_t item = listAt + 2; item + 2 <= end;) {
        const std::size_t size = word(item);
        if (size == 0) {
            return item + 2 == end;
        }
        if (size < 2) {
            return false;
        }
        item += size;
    }
    return false;
}

} // namespace shortcuts
