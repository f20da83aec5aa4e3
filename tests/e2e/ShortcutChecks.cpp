#include "tests/e2e/ShortcutChecks.h"

#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace e2e {
namespace {

void EnsureCom() {
    static const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)initialised;
}

Microsoft::WRL::ComPtr<IShellLinkW> NewLink() {
    EnsureCom();
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                               IID_PPV_ARGS(link.GetAddressOf())),
              S_OK);
    return link;
}

// A fresh shell link object, filled by `fill` (which gives an HRESULT), saved at the path.
template <class Fill> void Save(const std::wstring& path, Fill fill) {
    const auto link = NewLink();
    Microsoft::WRL::ComPtr<IPersistFile> file;
    ASSERT_TRUE(link && SUCCEEDED(link.As(&file)));
    ASSERT_EQ(fill(*link.Get()), S_OK) << Narrow(path);
    ASSERT_EQ(file->Save(path.c_str(), FALSE), S_OK) << Narrow(path);
}

// Folder windows: Wine's Explorer's and Windows' own.
std::vector<HWND> FolderWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            if (ClassName(window) == L"ExplorerWClass" || ClassName(window) == L"CabinetWClass") {
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring WindowsFolder() {
    wchar_t folder[MAX_PATH]{};
    GetSystemWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

} // namespace

void Answer(const Program& program, const std::wstring& text, int button) {
    const Box box = WaitForBox(program.Id());
    ASSERT_TRUE(box) << "no box; expected:\n" << Narrow(text);
    EXPECT_EQ(box.caption, L"Tavimbo");
    EXPECT_EQ(box.text, text) << "shown:\n" << Narrow(box.text) << "\nexpected:\n" << Narrow(text);
    box.Press(button);
}

void ExpectNoBox(const Program& program, Duration wait) {
    const Box box = WaitForBox(program.Id(), wait);
    EXPECT_FALSE(box) << "unexpected box \"" << Narrow(box.caption) << "\": " << Narrow(box.text);
}

std::wstring StoredLocalPath(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const auto number = [&](size_t at, size_t size) {
        size_t value = 0;
        for (size_t i = size; at + size <= bytes.size() && i-- > 0;) {
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    const size_t flags = number(0x14, 4); // HasLinkTargetIDList 1, HasLinkInfo 2
    const size_t info = 0x4C + (flags & 1 ? 2 + number(0x4C, 2) : 0);
    // Where the field whose offset is at `offsetAt` starts; the end of the file when it has none.
    const auto field = [&](size_t offsetAt) {
        const size_t offset = number(info + offsetAt, 4);
        return offset != 0 && info + offset < bytes.size() ? info + offset : bytes.size();
    };
    std::wstring target;
    if (!(flags & 2)) {
        return target;
    }
    // The base path, then the common path suffix: in UTF-16 when the header is 0x24 bytes or
    // longer, else in the ANSI code page.
    if (number(info + 4, 4) >= 0x24) {
        for (size_t at : {field(28), field(32)}) {
            for (; number(at, 2) != 0; at += 2) {
                target += static_cast<wchar_t>(number(at, 2));
            }
        }
        return target;
    }
    const std::string ansi = std::string(bytes.c_str() + field(16)) + (bytes.c_str() + field(24));
    target.resize(ansi.size());
    target.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                      target.data(), static_cast<int>(target.size())));
    return target;
}

LinkContent ReadLink(const std::wstring& path) {
    LinkContent content;
    const auto link = NewLink();
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (!link || FAILED(link.As(&file)) || FAILED(file->Load(path.c_str(), STGM_READ))) {
        ADD_FAILURE() << "cannot load " << Narrow(path);
        return content;
    }
    wchar_t text[1024]{};
    link->GetPath(text, 1024, nullptr, SLGP_RAWPATH);
    content.target = text;
    text[0] = L'\0';
    link->GetArguments(text, 1024);
    content.arguments = text;
    text[0] = L'\0';
    link->GetWorkingDirectory(text, 1024);
    content.workingDirectory = text;
    text[0] = L'\0';
    link->GetDescription(text, 1024);
    content.description = text;
    return content;
}

void WriteShortcut(const std::wstring& path, const LinkContent& content) {
    Save(path, [&](IShellLinkW& link) {
        const HRESULT result = link.SetPath(content.target.c_str());
        if (SUCCEEDED(result) && !content.arguments.empty()) { // the extras, all three
            link.SetArguments(content.arguments.c_str());
            link.SetWorkingDirectory(content.workingDirectory.c_str());
            link.SetDescription(content.description.c_str());
        }
        return result;
    });
}

void WriteShortcutToComputer(const std::wstring& path) {
    Save(path, [](IShellLinkW& link) {
        LPITEMIDLIST list = nullptr;
        HRESULT result = SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list);
        if (SUCCEEDED(result)) {
            result = link.SetIDList(list);
            CoTaskMemFree(list);
        }
        return result;
    });
}

void ExpectShortcutTo(const std::wstring& shortcut, const std::wstring& target) {
    ASSERT_TRUE(IsFile(shortcut)) << "no shortcut " << Narrow(shortcut);
    const LinkContent content = ReadLink(shortcut);
    EXPECT_EQ(content.target, target) << Narrow(shortcut);
    EXPECT_EQ(content.arguments, L"") << Narrow(shortcut);
    EXPECT_EQ(content.workingDirectory, L"") << Narrow(shortcut);
    EXPECT_EQ(content.description, L"") << Narrow(shortcut);
    EXPECT_EQ(StoredLocalPath(shortcut), target) << Narrow(shortcut);
}

Leftovers::Leftovers(std::vector<std::wstring> paths) : paths_(std::move(paths)) {
    Remove();
}

Leftovers::~Leftovers() {
    Remove();
}

void Leftovers::Remove() const {
    for (const std::wstring& path : paths_) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str())) {
            RemoveDirectoryW(path.c_str()); // only ever an empty folder
        }
    }
}

ExplorerWindows::ExplorerWindows() : windowsBefore_(FolderWindows()) {
    for (const ProcessCommandLine& process : CommandLinesOf(L"explorer.exe")) {
        processesBefore_.push_back(process.id);
    }
}

ExplorerWindows::~ExplorerWindows() {
    // The shell may open the window after the explorer.exe that handed it over has ended.
    WaitUntil([&] { return !started_ || !NewWindows().empty(); }, 5s);
    // An Explorer just started may not have made its window yet: ask again until all are gone.
    const bool closed = WaitUntil(
        [&] {
            for (HWND window : NewWindows()) {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            Sleep(200);
            return NewWindows().empty() && NewCommandLines().empty();
        },
        20s);
    EXPECT_TRUE(closed) << "an Explorer window did not close";
}

std::vector<std::wstring> ExplorerWindows::NewCommandLines() const {
    std::vector<std::wstring> lines;
    for (const auto& [id, line] : CommandLinesOf(L"explorer.exe")) {
        // Wine's desktop, which the first window of a session starts, is an Explorer too.
        if (std::count(processesBefore_.begin(), processesBefore_.end(), id) == 0 &&
            !line.ends_with(L" /desktop") && line.find(L" /desktop,") == std::wstring::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<HWND> ExplorerWindows::NewWindows() const {
    std::vector<HWND> windows = FolderWindows();
    std::erase_if(windows, [&](HWND window) {
        return std::count(windowsBefore_.begin(), windowsBefore_.end(), window) != 0;
    });
    return windows;
}

bool ExplorerWindows::Started(const std::wstring& commandLine, Duration timeout) const {
    const bool started = WaitUntil(
        [&] {
            const std::vector<std::wstring> lines = NewCommandLines();
            return std::count(lines.begin(), lines.end(), commandLine) != 0;
        },
        timeout);
    if (!started) {
        std::string seen;
        for (const std::wstring& line : NewCommandLines()) {
            seen += "\n  " + Narrow(line);
        }
        ADD_FAILURE() << "no Explorer started as\n  " << Narrow(commandLine)
                      << "\nstarted since:" << seen;
    }
    started_ = started_ || started;
    return started;
}

std::wstring ExplorerSelecting(const std::wstring& file) {
    return L"\"" + WindowsFolder() + L"\\explorer.exe\" /select,\"" + file + L"\"";
}

std::wstring ExplorerOn(const std::wstring& folder) {
    return L"\"" + WindowsFolder() + L"\\explorer.exe\" \"" + folder + L"\"";
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace e2e
