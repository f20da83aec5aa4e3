#pragma once

#include "services/Application_win.h"
#include "services/BoundedWork_win.h"
#include "shortcuts/ShellHelpers_win.h"
#include "shortcuts/ShortcutFolders.h"
#include "shortcuts/ShortcutToggle.h"

#include <windows.h>

#include <string>

namespace shortcuts {

// True when the target a shortcut gives back (stored) is the one it was given, as Windows
// compares file names.
bool SameTarget(const std::wstring& given, const std::wstring& stored);

// Writes a shortcut holding the target at the path and reads it back: S_OK only when the file
// holds that target, however the shell spells it.
long SaveAndReadBack(const std::wstring& targetPath, const std::wstring& path);

// The file-system step of a write: a shortcut holding the target written at the path.
using ShortcutWriteStep = long(const std::wstring& targetPath, const std::wstring& path);

// Writes the shortcut through a temporary file beside it, written by step on a thread of its
// own, that takes the shortcut's name only once it holds the target: 0 then. An update replaces
// the file there, a creation never does. Else step's failure, or the move's, or WriteNoAnswer
// past the bound; the folder then holds what it held before (a temporary given up goes once its
// thread ends, or at EndShortcutWrites). Temporaries that killed runs of the program left in
// the folder go first.
long WriteShortcutFile(const std::wstring& targetPath, const std::wstring& shortcutPath,
                       WriteKind kind, ShortcutWriteStep* step = SaveAndReadBack,
                       DWORD bound = services::ServerBound);

// The folder made (MakeFolder) on a thread of its own: false when it cannot be made, or is not
// made within the bound, as a folder on a server that does not answer.
using FolderMaking = bool(const std::wstring& path);
bool MakeTargetFolder(const std::wstring& path, FolderMaking* make = MakeFolder,
                      DWORD bound = services::ServerBound);

// As the program or the session ends: removes the temporaries of the writes still under way
// at once, without waiting for them. One that a write makes later goes as its thread ends, or,
// should the process end first, with the next run's start.
void EndShortcutWrites();

// Removes, on a thread of its own, the temporaries that ended runs left in the four folders.
void TakeUpEndedRunsTemporaries();

// Creates the target's shortcut in the folder, or updates or deletes the one there as the user
// answers, through the program's boxes; state.LastShortcutPath takes the shortcut's path. A
// target folder to make is made, with its parents, before the shortcut is written.
void ToggleShortcut(const services::Application& application, ShortcutState& state,
                    const ShortcutFolder& folder, std::wstring targetPath,
                    bool makeTargetFolder = false);

} // namespace shortcuts
