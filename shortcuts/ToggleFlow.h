#pragma once

#include <string>

namespace shortcuts {

// Answers of the question box, as Windows numbers its buttons.
inline constexpr int AnswerYes = 6;
inline constexpr int AnswerNo = 7;
inline constexpr int AnswerCancel = 2;

// Flags of the question box: Yes/No/Cancel and Yes/No, both with the question icon.
inline constexpr unsigned QuestionYesNoCancel = 35;
inline constexpr unsigned QuestionYesNo = 36;

// What the toggle needs of the file system and the shell.
class ToggleShell {
public:
    virtual ~ToggleShell() = default;
    // A file, not a folder, exists at the path.
    virtual bool FileExists(const std::wstring& path) = 0;
    // Writes a fresh shortcut holding only the target path; 0 only when the save succeeded and
    // the file reads back with that target.
    virtual long WriteShortcut(const std::wstring& targetPath,
                               const std::wstring& shortcutPath) = 0;
    virtual bool DeleteShortcut(const std::wstring& shortcutPath) = 0;
};

// How the toggle talks to the user.
class ToggleDialogs {
public:
    virtual ~ToggleDialogs() = default;
    // The question box; the answer is the button pressed, 0 when the box could not be shown.
    virtual int Ask(const std::wstring& question, unsigned flags) = 0;
    virtual void Tell(const std::wstring& message) = 0;
    virtual void ShowInExplorer(const std::wstring& path) = 0;
};

struct ToggleRequest {
    std::wstring folderPath;
    std::wstring folderLabel;
    std::wstring targetPath;
    std::wstring exePath;
    std::wstring appTitle;
};

// Creates the target's shortcut in the folder, or, when one is there, updates or deletes it
// as the user answers; reports the outcome and offers to show the folder. lastShortcutPath
// takes the shortcut's path as soon as it is known. A target too long for the shell link
// object, or a shortcut file named like a device, is refused with a message before anything is
// asked, written or deleted; lastShortcutPath then keeps its value.
void RunToggle(const ToggleRequest& request, ToggleShell& shell, ToggleDialogs& dialogs,
               std::wstring& lastShortcutPath);

} // namespace shortcuts
