#pragma once

#include "services/Application_win.h"
#include "shortcuts/ShortcutFolders.h"
#include "shortcuts/ShortcutToggle.h"

#include <string>

namespace shortcuts {

// Creates the target's shortcut in the folder, or updates or deletes the one there as the user
// answers, through the program's boxes; state.LastShortcutPath takes the shortcut's path.
void ToggleShortcut(const services::Application& application, ShortcutState& state,
                    const ShortcutFolder& folder, std::wstring targetPath);

} // namespace shortcuts
