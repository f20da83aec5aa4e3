#pragma once

#include "platform/FileOpenDialog.h"
#include "services/Application_win.h"
#include "shortcuts/ShortcutFolders.h"
#include "shortcuts/ShortcutToggle.h"

namespace shortcuts {

// The buttons that register a shortcut: the program's own in any of the folders, a program or
// a folder the user picks in SendTo, and the one that shows the SendTo folder.
class RegistrationCommands {
public:
    RegistrationCommands(const services::Application& application, ShortcutState& state);

    void RegisterSelf(const ShortcutFolder& folder);
    void RegisterProgram();
    void RegisterFolder();
    // Shows the last shortcut handled, or the SendTo folder when there is none.
    void OpenSendToFolder() const;

    // The pickers for a program and for a folder; fileName holds the last pick.
    platform::FileOpenRequest FileOpenDialog1;
    platform::FileOpenRequest FileOpenDialog2;

private:
    void PickAndRegister(platform::FileOpenRequest& dialog);

    const services::Application& application_;
    ShortcutState& state_;
};

} // namespace shortcuts
