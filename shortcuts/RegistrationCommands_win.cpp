#include "shortcuts/RegistrationCommands_win.h"

#include "services/ModalGuard_win.h"
#include "shortcuts/ShellHelpers_win.h"
#include "shortcuts/ShortcutToggle_win.h"

#include <optional>

namespace shortcuts {

RegistrationCommands::RegistrationCommands(const services::Application& application,
                                           ShortcutState& state)
    : application_(application), state_(state) {
    FileOpenDialog1.title = L"「送る」を受け取るプログラムを指定";
    FileOpenDialog1.fileTypes = {{L"Exe", L"*.exe"}, {L"All", L"*.*"}};
    FileOpenDialog1.options = FOS_PATHMUSTEXIST | FOS_FILEMUSTEXIST;
    FileOpenDialog2.title = L"「送る」を受け取るフォルダを指定（新規作成も可）";
    FileOpenDialog2.options = FOS_PICKFOLDERS | FOS_CREATEPROMPT;
}

void RegistrationCommands::RegisterSelf(const ShortcutFolder& folder) {
    ToggleShortcut(application_, state_, folder, services::Application::ExeName());
}

void RegistrationCommands::RegisterProgram() {
    PickAndRegister(FileOpenDialog1);
}

void RegistrationCommands::RegisterFolder() {
    PickAndRegister(FileOpenDialog2);
}

void RegistrationCommands::OpenSendToFolder() const {
    ShowInExplorer(state_.LastShortcutPath.empty()
                       ? GetSpecialFolderPath(SendToFolder.id) + L"*.Lnk"
                       : state_.LastShortcutPath);
}

// The dialog opens on the Desktop, owned by the hidden application window and modal to the
// whole program.
void RegistrationCommands::PickAndRegister(platform::FileOpenRequest& dialog) {
    dialog.owner = application_.Handle();
    dialog.folder = GetSpecialFolderPath(DesktopFolder.id);
    std::optional<std::wstring> picked;
    {
        const services::ModalGuard modal(dialog.owner);
        picked = platform::ShowFileOpenDialog(dialog);
    }
    if (!picked) {
        return;
    }
    dialog.fileName = *picked;
    state_.TargetPath = *picked;
    // The folder picker offers to create a folder that is not there, yet only asks: the folder
    // is made here, before a shortcut to it is written.
    ToggleShortcut(application_, state_, SendToFolder, state_.TargetPath,
                   (dialog.options & FOS_PICKFOLDERS) != 0);
}

} // namespace shortcuts
