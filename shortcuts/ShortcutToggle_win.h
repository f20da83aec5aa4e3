#pragma once

#include "services/Application_win.h"
#include "shortcuts/ShortcutFolders.h"
#include "shortcuts/ShortcutToggle.h"

#include <windows.h>

#include <string>

namespace shortcuts {

// Writes a shortcut holding the target at the path and reads it back: S_OK only when the file
// holds that target, however the shell spells it.
long SaveAndReadBack(const std::wstring& targetPath, const std::wstring& path);

// How long a write may take before the user is told that the target does not answer.
inline constexpr DWORD ShortcutWriteBound = 5000; // milliseconds

// The file-system step of a write: a shortcut holding the target written at the path.
using ShortcutWriteStep = long(const std::wstring& targetPath, const std::wstring& path);

// Writes the shortcut through a temporary file beside it, written by step on a thread of its
// own, that replaces the shortcut only once it holds the target: 0 then. Else step's failure,
// or the move's, or WriteNoAnswer past the bound; the folder then holds what it held before (a
// temporary given up goes once its thread ends).
long WriteShortcutFile(const std::wstring& targetPath, const std::wstring& shortcutPath,
                       ShortcutWriteStep* step = SaveAndReadBack, DWORD bound = ShortcutWriteBound);

// Creates the target's shortcut in the folder, or updates or deletes the one there as the user
// answers, through the program's boxes; state.LastShortcutPath takes the shortcut's path. A
// target folder to make is made, with its parents, before the shortcut is written.
void ToggleShortcut(const services::Application& application, ShortcutState& state,
                    const ShortcutFolder& folder, std::wstring targetPath,
                    bool makeTargetFolder = false);

} // namespace shortcuts
