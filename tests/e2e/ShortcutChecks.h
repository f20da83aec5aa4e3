#pragma once

// Steps and checks shared by the end-to-end tests of the shortcut commands.

#include "tests/e2e/Driver.h"

#include <string>
#include <vector>

namespace e2e {

// The program started from a sandbox of its own, with its main window.
struct StartedProgram {
    Sandbox sandbox;
    Program program{sandbox.Exe()};
    HWND main = program.MainWindow();

    HWND Button(const wchar_t* caption) const { return FindChild(main, L"Button", caption); }
};

// The program's questions and messages as the user reads them, spelled out here on their own.
std::wstring UpdateQuestionText(const std::wstring& label, const std::wstring& fileName);
std::wstring OpenFolderQuestionText(const std::wstring& label);
std::wstring UpdatedText(const std::wstring& label, const std::wstring& path);
std::wstring DeletedText(const std::wstring& label, const std::wstring& path);
std::wstring DeleteFailedText(const std::wstring& label, const std::wstring& path);
std::wstring CreatedText(const std::wstring& label, const std::wstring& path);
std::wstring CreateFailedText(const std::wstring& label, const std::wstring& path);

// Waits for the program's next box, checks its caption and exact text, and presses a button.
void Answer(const Program& program, const std::wstring& text, int button);

// No box of the program shows up within the time; a box that follows another comes at once.
void ExpectNoBox(const Program& program, Duration wait = 500ms);

// What a shortcut file holds, read by a fresh shell link object of the test's own.
struct LinkContent {
    std::wstring target;
    std::wstring arguments;
    std::wstring workingDirectory;
    std::wstring description;
};
LinkContent ReadLink(const std::wstring& path);

// Writes a shortcut with arguments and a working directory, as another program might have.
void WriteLinkWithExtras(const std::wstring& path, const std::wstring& target);

// The shortcut holds the target and nothing else, as a fresh shell link object and lnkinfo
// (a reader no one here wrote) both see it.
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

// Explorer windows opened during a test; all are closed at its end, before the sandbox goes
// (Explorer started by the program keeps the sandbox as its current folder).
class ExplorerWindows {
public:
    ExplorerWindows();
    ~ExplorerWindows();
    ExplorerWindows(const ExplorerWindows&) = delete;
    ExplorerWindows& operator=(const ExplorerWindows&) = delete;

    // Waits for an Explorer started with exactly that command line.
    bool Started(const std::wstring& commandLine, Duration timeout = 10s) const;
};

// Explorer's command lines, always by its full path: with a file selected, and on a folder.
std::wstring ExplorerSelecting(const std::wstring& file);
std::wstring ExplorerOn(const std::wstring& folder);

// True when a file, not a folder, is at the path.
bool IsFile(const std::wstring& path);

} // namespace e2e
