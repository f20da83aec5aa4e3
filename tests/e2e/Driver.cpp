#include "tests/e2e/Driver.h"

#include "platform/Handles.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <wincodec.h>
#include <winternl.h>

#include <wrl/client.h>

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

namespace e2e {
namespace {

std::filesystem::path ModuleFolder() {
    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

// A block of memory inside another process, for messages whose arguments are pointers.
class RemoteMemory {
public:
    RemoteMemory(HWND window, size_t size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               processId);
        if (process_ == nullptr) {
            throw std::runtime_error("cannot open the program's process");
        }
        address_ =
            VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (address_ == nullptr) {
            CloseHandle(process_);
            throw std::runtime_error("cannot allocate memory in the program's process");
        }
    }
    ~RemoteMemory() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    char* Address(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    void Write(size_t offset, const void* data, size_t size) const {
        WriteProcessMemory(process_, Address(offset), data, size, nullptr);
    }
    void Read(size_t offset, void* data, size_t size) const {
        ReadProcessMemory(process_, Address(offset), data, size, nullptr);
    }
    std::wstring ReadText(size_t offset, size_t characters) const {
        std::wstring text(characters, L'\0');
        Read(offset, text.data(), characters * sizeof(wchar_t));
        text.resize(wcsnlen(text.c_str(), characters));
        return text;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

} // namespace

std::string Narrow(std::wstring_view text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                        length, nullptr, nullptr);
    return narrow;
}

std::wstring Widen(std::string_view text) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT crosses processes, unlike GetWindowText on another process's control.
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256]{};
    GetClassNameW(window, name, 256);
    return name;
}

std::vector<HWND> TopWindows(DWORD processId, bool includeHidden) {
    struct Search {
        DWORD processId;
        bool includeHidden;
        std::vector<HWND> found;
    } search{processId, includeHidden, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && (s->includeHidden || IsWindowVisible(window))) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindChild(HWND parent, std::wstring_view className, std::wstring_view text) {
    for (HWND child : Descendants(parent)) {
        if (ClassName(child) == className && (text.empty() || WindowText(child) == text)) {
            return child;
        }
    }
    return nullptr;
}

Program::Program(const std::filesystem::path& exe, const std::wstring& arguments,
                 const std::filesystem::path& currentFolder) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION information{};
    const std::wstring folder =
        (currentFolder.empty() ? exe.parent_path() : currentFolder).wstring();
    // Wine's CreateProcess has been seen to fail now and then on a machine under heavy load;
    // a second try tells that from a program that cannot start at all.
    for (int tries = 1; !CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, folder.c_str(), &startup, &information);
         ++tries) {
        if (tries == 3) {
            throw std::runtime_error("cannot start " + Narrow(exe.wstring()) + ": error " +
                                     std::to_string(GetLastError()));
        }
        Sleep(500);
    }
    CloseHandle(information.hThread);
    process_ = information.hProcess;
    processId_ = information.dwProcessId;
}

Program::~Program() {
    if (Running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool Program::Running() const {
    return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND Program::MainWindow(Duration timeout) const {
    HWND main = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopWindows(processId_)) {
                if (ClassName(window) == L"TForm1") {
                    main = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return main;
}

std::optional<DWORD> Program::WaitForExit(Duration timeout) const {
    if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

Box ReadBox(HWND dialog) {
    Box box;
    box.handle = dialog;
    box.caption = WindowText(dialog);
    for (HWND child : Descendants(dialog)) {
        const std::wstring className = ClassName(child);
        if (className == L"Button") {
            box.buttons.push_back(WindowText(child));
        } else if (className == L"Static") {
            const std::wstring text = WindowText(child);
            if (GetDlgCtrlID(child) == 0xFFFF || (box.text.empty() && !text.empty())) {
                box.text = text;
            }
        }
    }
    return box;
}

Box WaitForBox(DWORD processId, Duration timeout, HWND except) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopWindows(processId)) {
                if (window != except && ClassName(window) == L"#32770") {
                    dialog = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    if (dialog == nullptr) {
        return {};
    }
    // Only visible dialogs are found, and a dialog is shown after WM_INITDIALOG has filled in
    // its controls: the box can be read at once.
    return ReadBox(dialog);
}

void Box::Press(int buttonId) const {
    HWND button = GetDlgItem(handle, buttonId);
    if (button == nullptr) {
        // Task dialogs keep their buttons deeper down.
        for (HWND child : Descendants(handle)) {
            if (GetDlgCtrlID(child) == buttonId && ClassName(child) == L"Button") {
                button = child;
                break;
            }
        }
    }
    ASSERT_NE(button, nullptr) << "no button " << buttonId << " in \"" << Narrow(caption) << "\"";
    Click(button);
    WaitUntil([&] { return !IsWindowVisible(handle); }, 5s);
}

HWND FileNameBox(HWND dialog) {
    for (HWND edit : Descendants(dialog)) {
        for (HWND control = edit; ClassName(edit) == L"Edit" && control != dialog;
             control = GetParent(control)) {
            if (GetDlgCtrlID(control) == edt1 || GetDlgCtrlID(control) == cmb13) {
                return edit;
            }
        }
    }
    return nullptr;
}

void Click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void SelectTab(HWND tabControl, int index) {
    const RECT item = TabItemRect(tabControl, index);
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PostMessageW(tabControl, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(tabControl, WM_LBUTTONUP, 0, point);
    WaitUntil([&] { return SendMessageW(tabControl, TCM_GETCURSEL, 0, 0) == index; }, 5s);
}

void PressKey(HWND window, WORD virtualKey, unsigned modifiers) {
    // Windows gives the foreground to a process only in some cases; attached to the input of
    // the thread that has it, this one may take it.
    if (!SetForegroundWindow(window)) {
        const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
        const bool attached =
            foreground != 0 && AttachThreadInput(GetCurrentThreadId(), foreground, TRUE);
        SetForegroundWindow(window);
        if (attached) {
            AttachThreadInput(GetCurrentThreadId(), foreground, FALSE);
        }
    }
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, 2s))
        << "no keys sent: the foreground is \"" << Narrow(WindowText(GetForegroundWindow()))
        << "\", not \"" << Narrow(WindowText(window)) << "\"";
    std::vector<INPUT> inputs;
    auto key = [&](WORD code, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    const std::pair<unsigned, WORD> modifierKeys[] = {
        {Shift, VK_SHIFT}, {Ctrl, VK_CONTROL}, {Alt, VK_MENU}};
    for (const auto& [flag, code] : modifierKeys) {
        if (modifiers & flag) {
            key(code, false);
        }
    }
    key(virtualKey, false);
    key(virtualKey, true);
    for (const auto& [flag, code] : modifierKeys) {
        if (modifiers & flag) {
            key(code, true);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::vector<std::wstring> TabCaptions(HWND tabControl) {
    const auto count = static_cast<int>(SendMessageW(tabControl, TCM_GETITEMCOUNT, 0, 0));
    constexpr size_t textOffset = 256;
    constexpr size_t textLength = 128;
    RemoteMemory memory(tabControl, textOffset + textLength * sizeof(wchar_t));
    std::vector<std::wstring> captions;
    for (int index = 0; index < count; ++index) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(memory.Address(textOffset));
        item.cchTextMax = textLength;
        memory.Write(0, &item, sizeof item);
        SendMessageW(tabControl, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(memory.Address()));
        captions.push_back(memory.ReadText(textOffset, textLength));
    }
    return captions;
}

RECT TabItemRect(HWND tabControl, int index) {
    RemoteMemory memory(tabControl, sizeof(RECT));
    SendMessageW(tabControl, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(memory.Address()));
    RECT rect{};
    memory.Read(0, &rect, sizeof rect);
    return rect;
}

std::wstring ToolTipText(HWND toolTips, HWND owner, HWND tool) {
    constexpr size_t textOffset = 512;
    constexpr size_t textLength = 256;
    RemoteMemory memory(toolTips, textOffset + textLength * sizeof(wchar_t));
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = reinterpret_cast<wchar_t*>(memory.Address(textOffset));
    memory.Write(0, &info, sizeof info);
    SendMessageW(toolTips, TTM_GETTEXTW, textLength, reinterpret_cast<LPARAM>(memory.Address()));
    return memory.ReadText(textOffset, textLength);
}

LRESULT SendMessageWithData(HWND window, UINT message, WPARAM wParam, const void* data,
                            size_t size) {
    RemoteMemory memory(window, size);
    memory.Write(0, data, size);
    return SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(memory.Address()));
}

HRESULT SaveScreenPicture(const RECT& rect, const std::filesystem::path& png) try {
    static const platform::ComInitialization com;
    const auto check = [](HRESULT result) {
        if (FAILED(result)) {
            throw result;
        }
    };
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const platform::WindowDC screen = platform::AcquireDC(nullptr);
    const std::unique_ptr<std::remove_pointer_t<HDC>, decltype(&DeleteDC)> memory(
        CreateCompatibleDC(screen.get()), &DeleteDC);
    const std::unique_ptr<std::remove_pointer_t<HBITMAP>, platform::GdiObjectDeleter> bitmap(
        CreateCompatibleBitmap(screen.get(), width, height));
    {
        // Out again before WIC reads it: a bitmap selected into a context cannot be read.
        const platform::SelectedObject selected = platform::Select(memory.get(), bitmap.get());
        check(BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY)
                  ? S_OK
                  : E_FAIL);
    }
    using Microsoft::WRL::ComPtr;
    ComPtr<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_PPV_ARGS(factory.GetAddressOf())));
    ComPtr<IWICBitmap> picture;
    check(factory->CreateBitmapFromHBITMAP(bitmap.get(), nullptr, WICBitmapIgnoreAlpha,
                                           picture.GetAddressOf()));
    ComPtr<IWICStream> stream;
    check(factory->CreateStream(stream.GetAddressOf()));
    check(stream->InitializeFromFilename(png.c_str(), GENERIC_WRITE));
    ComPtr<IWICBitmapEncoder> encoder;
    check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf()));
    check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
    ComPtr<IWICBitmapFrameEncode> frame;
    check(encoder->CreateNewFrame(frame.GetAddressOf(), nullptr));
    check(frame->Initialize(nullptr));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    check(frame->SetPixelFormat(&format));
    check(frame->WriteSource(picture.Get(), nullptr));
    check(frame->Commit());
    return encoder->Commit();
} catch (HRESULT failed) {
    return failed;
}

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH]{};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    std::wstring folder = path;
    if (!folder.empty() && folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

std::vector<ProcessCommandLine> CommandLinesOf(std::wstring_view exeFileName) {
    using QueryFunction = LONG WINAPI(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto* query = reinterpret_cast<QueryFunction*>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    std::vector<ProcessCommandLine> commandLines;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (query == nullptr || snapshot == INVALID_HANDLE_VALUE) {
        return commandLines;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (CompareStringOrdinal(entry.szExeFile, -1, exeFileName.data(),
                                 static_cast<int>(exeFileName.size()), TRUE) != CSTR_EQUAL) {
            continue;
        }
        const HANDLE process =
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
        if (process == nullptr) {
            continue;
        }
        PROCESS_BASIC_INFORMATION basic{};
        PEB peb{};
        RTL_USER_PROCESS_PARAMETERS parameters{};
        if (query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) >= 0 &&
            ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) &&
            ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters,
                              nullptr)) {
            std::wstring commandLine(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
            if (ReadProcessMemory(process, parameters.CommandLine.Buffer, commandLine.data(),
                                  parameters.CommandLine.Length, nullptr)) {
                commandLines.push_back({entry.th32ProcessID, commandLine});
            }
        }
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return commandLines;
}

std::filesystem::path BuiltExe() {
    return ModuleFolder() / L"Tavimbo.exe";
}

Sandbox::Sandbox() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    folder_ = std::filesystem::path(L"C:\\tavimbo-e2e") / name;
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    exe_ = folder_ / L"Tavimbo.exe";
    std::filesystem::copy_file(BuiltExe(), exe_);
}

Sandbox::~Sandbox() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::filesystem::path Sandbox::Ini() const {
    return folder_ / L"Tavimbo.ini";
}

} // namespace e2e
