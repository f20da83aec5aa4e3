// The path rules in one place: file name, folder part, extension, quoting, drive and share
// roots and the help search's steps. Where two helpers split a path the same way, they must
// agree; every part they return must put the path back together.

#include "tests/fuzz/FuzzTarget.h"

#include "services/FilePath.h"
#include "info/HelpPage.h"
#include "platform/Error.h"
#include "shortcuts/ReceivedFile.h"
#include "shortcuts/ShortcutFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using fuzz::Require;

constexpr std::wstring_view Delimiters = L"\\/:";

bool Holds(std::wstring_view text, std::wstring_view characters) {
    return text.find_first_of(characters) != std::wstring_view::npos;
}

bool IsSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

void CheckFileNameAndFolder(const std::wstring& path) {
    const std::wstring name = services::ExtractFileName(path);
    Require(path.ends_with(name) && !Holds(name, Delimiters), "the file name is no last component");
    Require(name.size() == path.size() ||
                Holds(path.substr(path.size() - name.size() - 1, 1), Delimiters),
            "the file name does not start after a delimiter");

    const std::wstring_view folder = services::ExtractFilePath(path);
    Require(path.starts_with(folder) &&
                (folder.empty() || folder.back() == L'\\' || folder.back() == L':'),
            "the folder part is no prefix ending in a delimiter");
    Require(!Holds(std::wstring_view(path).substr(folder.size()), L"\\:"),
            "the folder part stops before the last delimiter");

    const std::wstring directory = services::ExtractFileDirectory(path);
    Require(path.starts_with(directory), "the directory is no prefix of the path");
    const std::size_t gap = path.size() - name.size() - directory.size();
    Require(gap == 0 || (gap == 1 && !directory.empty()),
            "directory and file name leave out more than a delimiter");
    // Only a root keeps its delimiter: "\", "C:\" or "\\".
    if (!directory.empty() && Holds(directory.substr(directory.size() - 1), Delimiters)) {
        Require(directory.size() == 1 || directory.back() == L':' ||
                    Holds(directory.substr(directory.size() - 2, 1), Delimiters),
                "a directory keeps its trailing delimiter");
    }
}

void CheckExtension(const std::wstring& path) {
    const std::wstring_view extension = services::ExtractFileExtension(path);
    Require(path.ends_with(extension), "the extension is no suffix");
    Require(extension.empty() ||
                (extension.front() == L'.' && !Holds(extension.substr(1), L".\\:")),
            "the extension is not the text from the last dot of the last component");
    const std::wstring stem = services::ChangeFileExtension(path, L"");
    Require(path.starts_with(stem), "removing the extension changes more than the end");
    // The extension of a received file knows no "/"; without one both rules must agree.
    if (!Holds(path, L"/")) {
        Require(stem + std::wstring(extension) == path, "the two extension rules disagree");
    }

    const std::wstring changed = services::ChangeFileExtension(path, L".chm");
    Require(changed == stem + L".chm", "the new extension does not replace the old one");
    Require(services::ChangeFileExtension(changed, L".chm") == changed,
            "changing twice changes more");
    Require(services::ExtractFileDirectory(changed) == services::ExtractFileDirectory(path),
            "changing the extension moves the file");
    Require(info::HelpFileName(path) == changed, "the help file is not the path with \".chm\"");
}

void CheckQuoting(const std::wstring& path) {
    const std::wstring quoted = services::Quoted(path);
    Require(quoted == L'"' + path + L'"', "the quoted path is not the path in quotes");
    Require(shortcuts::ExplorerSelectParameters(path) == L"/select," + quoted,
            "Explorer's parameters are not \"/select,\" and the quoted path");
    if (!path.empty() && !Holds(path, std::wstring(L"\"\0", 2))) {
        Require(shortcuts::SplitCommandLine(quoted) == std::vector{path},
                "a quoted path does not read back as one argument");
    }
}

void CheckShortcutNames(const std::wstring& path) {
    constexpr std::wstring_view exe = L"C:\\Tools\\Tavimbo.exe";
    Require(shortcuts::ShortcutBaseName(path, path, L"Tavimbo") == L"Tavimbo",
            "the program itself is not named after its title");
    std::wstring base;
    try {
        base = shortcuts::ShortcutBaseName(path, exe, L"Tavimbo");
        Require(path == exe || !services::HasInvalidPathCharacters(path),
                "a path with characters not allowed gets a shortcut name");
    } catch (const platform::Error&) {
        Require(services::HasInvalidPathCharacters(path), "a valid path is rejected");
        return;
    }
    const std::wstring name = services::ExtractFileName(path);
    Require(name.starts_with(base) && (base.size() == name.size() || name[base.size()] == L'.') &&
                !Holds(name.substr(std::min(base.size() + 1, name.size())), L"."),
            "the base name is not the file name up to its last dot");

    const std::wstring folder(services::ExtractFilePath(path));
    const std::wstring shortcut = shortcuts::ShortcutPathIn(folder, base);
    Require(shortcut.starts_with(folder) && shortcut.ends_with(L'\\' + base + L".Lnk") &&
                shortcut.size() <= folder.size() + base.size() + 5,
            "the shortcut path is not folder, delimiter, base name and \".Lnk\"");
}

// The first components of the path, split at slashes, empty ones left out.
std::vector<std::wstring> Components(const std::wstring& path) {
    std::vector<std::wstring> components;
    std::wstring current;
    for (wchar_t c : path + L'\\') {
        if (!IsSlash(c)) {
            current += c;
        } else if (!current.empty()) {
            components.push_back(std::exchange(current, {}));
        }
    }
    return components;
}

void CheckRoots(const std::wstring& path) {
    const std::wstring folder = services::ParentFolder(path);
    if (!folder.empty()) {
        Require(path.starts_with(folder) && folder.size() < path.size(),
                "the folder part is no shorter prefix");
        // What follows the folder part is the last component, after the separator unless a
        // drive root keeps it.
        const bool separatorFollows = IsSlash(path[folder.size()]);
        Require(separatorFollows || (folder.size() >= 2 && IsSlash(folder.back()) &&
                                     folder[folder.size() - 2] == L':'),
                "the folder part ends before no separator");
        const std::size_t rest = folder.size() + (separatorFollows ? 1 : 0);
        Require(!Holds(std::wstring_view(path).substr(rest), L"\\/"),
                "the folder part stops before the last separator");
    }

    std::vector<std::wstring> parts = Components(path);
    parts.resize(3, L"x");
    if (parts[0].find(L':') == std::wstring::npos) {
        const std::wstring drive = parts[0].substr(0, 1) + L":\\";
        Require(services::ParentFolder(drive).empty(), "a drive root has a folder part");
        Require(services::ParentFolder(drive.substr(0, 2)).empty(),
                "a drive alone has a folder part");
        Require(services::ParentFolder(drive + parts[1]) == drive,
                "a folder on a drive is not in its root");
    }
    if (!Holds(parts[0] + parts[1], L"?:")) {
        const std::wstring share = L"\\\\" + parts[0] + L'\\' + parts[1];
        Require(services::ParentFolder(share).empty() &&
                    services::ParentFolder(share + L'\\').empty(),
                "a share root has a folder part");
        Require(services::ParentFolder(share + L'\\' + parts[2]) == share,
                "a folder on a share is not in its root");
    }
}

void CheckHelpSearch(const std::wstring& path, std::size_t foundAt) {
    std::vector<std::wstring> asked;
    const auto exists = [&](const std::wstring& candidate) {
        asked.push_back(candidate);
        Require(asked.size() <= path.size() + 8, "the help search does not come to an end");
        return asked.size() == foundAt;
    };
    std::optional<std::wstring> found;
    try {
        found = info::FindHelpFile(path, exists);
    } catch (const platform::Error&) {
        Require(asked.back().size() >= 260, "the help search gives up on a short path");
        return;
    }
    Require(asked.front() == info::HelpFileName(path),
            "the help search does not start beside the program");
    Require(found == (asked.size() == foundAt ? std::optional(asked.back()) : std::nullopt),
            "the help search does not return the file that exists");
    const std::wstring name = services::ExtractFileName(asked.front());
    for (std::size_t step = 1; step < asked.size(); ++step) {
        const std::wstring folder = services::ParentFolder(asked[step - 1]);
        const std::wstring parent = services::ParentFolder(folder);
        Require(!parent.empty() && folder.starts_with(parent) && parent.size() < folder.size(),
                "the help search does not go up one folder");
        Require(asked[step].starts_with(parent) && asked[step].ends_with(name) &&
                    asked[step].size() <= parent.size() + 1 + name.size(),
                "the next candidate is not the file name in the parent folder");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path = fuzz::Widened(fuzz::Bytes(data, size));
    CheckFileNameAndFolder(path);
    CheckExtension(path);
    CheckQuoting(path);
    CheckShortcutNames(path);
    CheckRoots(path);
    CheckHelpSearch(path, size > 0 ? data[0] % 5 : 0);
    return 0;
}
