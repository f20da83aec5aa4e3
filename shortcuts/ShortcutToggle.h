#pragma once

#include <string>
#include <string_view>

namespace shortcuts {

// Answers of the question box, as Windows numbers its buttons.
inline constexpr int AnswerYes = 6;
inline constexpr int AnswerNo = 7;
inline constexpr int AnswerCancel = 2;

// Flags of the question box: Yes/No/Cancel and Yes/No, both with the question icon.
inline constexpr unsigned QuestionYesNoCancel = 35;
inline constexpr unsigned QuestionYesNo = 36;

// The result of a write that was given up because the target did not answer in time
// (HRESULT_FROM_WIN32(ERROR_TIMEOUT)).
inline constexpr long WriteNoAnswer = -2147023436;

// A write makes a new shortcut, never over a file already there, or replaces the one there.
enum class WriteKind { Create, Update };

// What the toggle needs of the file system, the shell and the user.
class ToggleEnvironment {
public:
    virtual ~ToggleEnvironment() = default;
    // A file, not a folder, exists at the path.
    virtual bool FileExists(const std::wstring& path) = 0;
    // Writes a fresh shortcut holding only the target path; 0 only when the save succeeded and
    // the file reads back with that target, WriteNoAnswer when the target did not answer in time.
    virtual long WriteShortcut(const std::wstring& targetPath, const std::wstring& shortcutPath,
                               WriteKind kind) = 0;
    virtual bool DeleteShortcut(const std::wstring& shortcutPath) = 0;
    // The folder exists, made with any missing parents; false when it cannot be made.
    virtual bool MakeFolder(const std::wstring& path) = 0;
    // The question box; the answer is the button pressed, 0 when the box could not be shown.
    virtual int Ask(const std::wstring& question, unsigned flags) = 0;
    virtual void Tell(const std::wstring& message) = 0;
    virtual void ShowInExplorer(const std::wstring& path) = 0;
};

// What the shortcut commands remember between one command and the next.
struct ShortcutState {
    std::wstring TargetPath;       // the path last picked or received
    std::wstring LastShortcutPath; // the path of the last shortcut handled
};

struct ToggleRequest {
    std::wstring folderPath;
    std::wstring folderLabel;
    std::wstring targetPath;
    std::wstring exePath;
    std::wstring appTitle;
    // The target is a folder the user named, which may not exist yet: it is made before the
    // shortcut is written, and the write fails when it cannot be.
    bool makeTargetFolder = false;
};

// The toggle's questions and outcome messages. label names the folder, fileName is the
// shortcut's file name and path its full path.
std::wstring UpdateQuestion(std::wstring_view label, std::wstring_view fileName);
std::wstring OpenFolderQuestion(std::wstring_view label);
std::wstring UpdatedMessage(std::wstring_view label, std::wstring_view path);
std::wstring UpdateFailedMessage(std::wstring_view label, std::wstring_view path);
std::wstring DeletedMessage(std::wstring_view label, std::wstring_view path);
std::wstring DeleteFailedMessage(std::wstring_view label, std::wstring_view path);
std::wstring CreatedMessage(std::wstring_view label, std::wstring_view path);
std::wstring CreateFailedMessage(std::wstring_view label, std::wstring_view path);
// Neither created nor updated: the target, at path, did not answer in time.
std::wstring NoAnswerMessage(std::wstring_view label, std::wstring_view path);
// Refusals before anything is asked or written: a path too long for the shell (path is the
// target, or the shortcut's own path), a shortcut file name Windows takes for a device, a target
// that is no file-system path (path is the shortcut's).
std::wstring PathTooLongMessage(std::wstring_view label, std::wstring_view path);
std::wstring ReservedNameMessage(std::wstring_view label, std::wstring_view path);
std::wstring NoFileTargetMessage(std::wstring_view label, std::wstring_view path);

// Creates the target's shortcut in the folder, or, when one is there, updates or deletes it
// as the user answers; reports the outcome and offers to show the folder. lastShortcutPath
// takes the shortcut's path as soon as it is known, a refused one included. An empty target, a
// target too long for the shell link object, or a shortcut file named like a device is refused
// with a message before anything is asked, written or deleted; so is a new shortcut at a path
// too long for the shell to write, while one already there is offered as any other.
void RunToggle(const ToggleRequest& request, ToggleEnvironment& environment,
               std::wstring& lastShortcutPath);

} // namespace shortcuts
