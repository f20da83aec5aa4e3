#pragma once

// Steps and checks of shortcut files and the commands that write them, shared by the tests
// under Wine.

#include "tests/e2e/Driver.h"

#include <string>
#include <vector>

namespace e2e {

// Waits for the program's next box, checks its caption and exact text, and presses a button.
void Answer(const Program& program, const std::wstring& text, int button);

// No box of the program shows up within the time; a box that follows another comes at once.
void ExpectNoBox(const Program& program, Duration wait = 500ms);

// What a shortcut file holds, read by a fresh shell link object of the test's own.
struct LinkContent {
    std::wstring target;
    std::wstring arguments{};
    std::wstring workingDirectory{};
    std::wstring description{};
};
LinkContent ReadLink(const std::wstring& path);

// The target's local path as the file's bytes hold it (the LinkInfo structure of the shell
// link format), read without a shell link object; empty when the file has none.
std::wstring StoredLocalPath(const std::wstring& path);

// Writes a shortcut with the test's own shell link object, as another program might have: with
// the content given (the extras only with arguments), or to the Computer folder, which has no
// file-system path.
void WriteShortcut(const std::wstring& path, const LinkContent& content);
void WriteShortcutToComputer(const std::wstring& path);

// The shortcut holds the target and nothing else, as a fresh shell link object sees it and as
// its bytes store it (Wine's shell link object gives back only the ANSI form of a target).
void ExpectShortcutTo(const std::wstring& shortcut, const std::wstring& target);

// Files and folders a test may leave in the prefix's user folders: removed by name, never by
// listing a folder, before the test and again at its end.
class Leftovers {
public:
    explicit Leftovers(std::vector<std::wstring> paths);
    ~Leftovers();
    Leftovers(const Leftovers&) = delete;
    Leftovers& operator=(const Leftovers&) = delete;

private:
    void Remove() const;

    std::vector<std::wstring> paths_;
};

// The Explorer processes and folder windows that a test causes: under Wine a process of its own
// for each window; on Windows a short-lived explorer.exe that hands the folder on to the shell's
// own process, which opens the window. Those there before, the shell's among them, are left
// alone; the test's are closed at its end, before the sandbox goes (an Explorer started by the
// program keeps the sandbox as its current folder).
class ExplorerWindows {
public:
    ExplorerWindows();
    ~ExplorerWindows();
    ExplorerWindows(const ExplorerWindows&) = delete;
    ExplorerWindows& operator=(const ExplorerWindows&) = delete;

    // Waits for an Explorer started since with exactly that command line.
    bool Started(const std::wstring& commandLine, Duration timeout = 10s) const;

private:
    std::vector<std::wstring> NewCommandLines() const;
    std::vector<HWND> NewWindows() const;

    std::vector<DWORD> processesBefore_;
    std::vector<HWND> windowsBefore_;
    mutable bool started_ = false;
};

// Explorer's command lines, always by its full path: with a file selected, and on a folder.
std::wstring ExplorerSelecting(const std::wstring& file);
std::wstring ExplorerOn(const std::wstring& folder);

// True when a file, not a folder, is at the path.
bool IsFile(const std::wstring& path);

} // namespace e2e
