#pragma once

// The end-to-end test driver: starts the real Tavimbo.exe under Wine, finds its windows, reads
// their texts and answers them, as a user would, independent of screen coordinates.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// Top-level windows of a process (visible ones only, unless asked), and all descendants of a
// window.
std::vector<HWND> TopWindows(DWORD processId, bool includeHidden = false);
std::vector<HWND> Descendants(HWND parent);

// The first descendant of that class (and text, unless empty).
HWND FindChild(HWND parent, std::wstring_view className, std::wstring_view text = {});

// Polls until the condition holds or the time is up; returns whether it held.
template <class Condition> bool WaitUntil(Condition condition, Duration timeout = 10s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        Sleep(20);
    }
}

// A running copy of a program; ended at destruction if it is still running.
class Program {
public:
    // Starts in the exe's folder unless given another current folder.
    explicit Program(const std::filesystem::path& exe, const std::wstring& arguments = {},
                     const std::filesystem::path& currentFolder = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Id() const { return processId_; }
    HANDLE Handle() const { return process_; }
    bool Running() const;

    // The visible main window (class TForm1); nullptr when it did not appear in time.
    HWND MainWindow(Duration timeout = 15s) const;

    // The exit code, or none when the program is still running after the timeout.
    std::optional<DWORD> WaitForExit(Duration timeout = 15s) const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// A message box, task dialog or other dialog (#32770) of the program.
struct Box {
    HWND handle = nullptr;
    std::wstring caption;
    std::wstring text; // a message box's text, else the dialog's first non-empty static text
    std::vector<std::wstring> buttons;

    explicit operator bool() const { return handle != nullptr; }
    // Presses the button with that identifier (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7).
    void Press(int buttonId) const;
};

// The next visible dialog of the process that is not `except`; an empty Box after the timeout.
Box WaitForBox(DWORD processId, Duration timeout = 10s, HWND except = nullptr);
Box ReadBox(HWND dialog);

// The file-name box of a file dialog: the edit edt1 of Wine's dialog, or the edit inside the
// combo box cmb13 of Windows' own.
HWND FileNameBox(HWND dialog);

// Posts a click to a button (it works whatever page the button is on).
void Click(HWND button);

// Selects a tab of a tab control with a mouse click on it.
void SelectTab(HWND tabControl, int index);

// Keys typed into the foreground window, after making `window` the foreground window; a test
// failure, and no keys, when it cannot be made so.
enum Modifier : unsigned { None = 0, Shift = 1, Ctrl = 2, Alt = 4 };
void PressKey(HWND window, WORD virtualKey, unsigned modifiers = None);

// Reads from a control of another process through memory in that process.
std::vector<std::wstring> TabCaptions(HWND tabControl);
RECT TabItemRect(HWND tabControl, int index);
std::wstring ToolTipText(HWND toolTips, HWND owner, HWND tool);

// Sends a message whose lParam points to a copy of `data` inside the window's process.
LRESULT SendMessageWithData(HWND window, UINT message, WPARAM wParam, const void* data,
                            size_t size);

// What the screen shows in the rectangle, written as a PNG picture.
HRESULT SaveScreenPicture(const RECT& rect, const std::filesystem::path& png);

// A special folder of the user (CSIDL numbering), with its trailing backslash.
std::wstring SpecialFolder(int csidl);

// The Tavimbo.exe built beside this test program.
std::filesystem::path BuiltExe();

// A fresh folder of its own for one test, holding a copy of Tavimbo.exe; removed afterwards.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    const std::filesystem::path& Exe() const { return exe_; }
    std::filesystem::path Ini() const;

private:
    std::filesystem::path folder_;
    std::filesystem::path exe_;
};

// The program started with its main window (nullptr when none appeared in time): from a sandbox
// of its own, or from the executable given.
struct StartedProgram {
    StartedProgram() : sandbox(std::in_place), program(sandbox->Exe()) {}
    explicit StartedProgram(const std::filesystem::path& exe) : program(exe) {}

    std::optional<Sandbox> sandbox;
    Program program;
    HWND main = program.MainWindow();
    HWND tabs = main ? FindChild(main, L"SysTabControl32") : nullptr;

    HWND Button(const wchar_t* caption) const { return FindChild(main, L"Button", caption); }
};

// The running processes whose executable has that file name (letter case ignored), with the
// command line read from each one's own parameters, so that what a program was started with
// can be checked without looking at the screen.
struct ProcessCommandLine {
    DWORD id;
    std::wstring commandLine;
};
std::vector<ProcessCommandLine> CommandLinesOf(std::wstring_view exeFileName);

// UTF-8 for messages of failed assertions and for files, and back.
std::string Narrow(std::wstring_view text);
std::wstring Widen(std::string_view text);

} // namespace e2e
