#include "app/Unit1.h"

#include "app/ModalGuard.h"
#include "platform/FileOpenDialog.h"
#include "shortcuts/ShellHelpers.h"
#include "shortcuts/ShortcutFolders.h"

#include <optional>

namespace {

void Toggle(TForm1& form, const shortcuts::ShortcutFolder& folder, std::wstring targetPath) {
    form.ToggleShortcut(folder.id, std::wstring(folder.label), std::move(targetPath));
}

// Shows one of the form's file dialogs on the Desktop, owned by the hidden application window
// and modal to the whole program; the path picked, or nothing when cancelled.
std::optional<std::wstring> Pick(const app::Application& application,
                                 platform::FileOpenRequest& dialog) {
    dialog.owner = application.Handle();
    dialog.folder = GetSpecialFolderPath(shortcuts::DesktopFolder.id);
    std::optional<std::wstring> picked;
    {
        const app::ModalGuard modal(dialog.owner);
        picked = platform::ShowFileOpenDialog(dialog);
    }
    if (picked) {
        dialog.fileName = *picked;
    }
    return picked;
}

void PickAndToggle(TForm1& form, const app::Application& application,
                   platform::FileOpenRequest& dialog) {
    if (const auto picked = Pick(application, dialog)) {
        TargetPath = *picked;
        Toggle(form, shortcuts::SendToFolder, TargetPath);
    }
}

} // namespace

void TForm1::ButtonSendToClick() {
    Toggle(*this, shortcuts::SendToFolder, app::Application::ExeName());
}

void TForm1::ButtonSelectProgramClick() {
    PickAndToggle(*this, application_, FileOpenDialog1);
}

void TForm1::ButtonSelectFolderClick() {
    PickAndToggle(*this, application_, FileOpenDialog2);
}

void TForm1::ButtonOpenSendToFolderClick() {
    ShowInExplorer(LastShortcutPath.empty()
                       ? GetSpecialFolderPath(shortcuts::SendToFolder.id) + L"*.Lnk"
                       : LastShortcutPath);
}

void TForm1::ButtonDeskTopClick() {
    Toggle(*this, shortcuts::DesktopFolder, app::Application::ExeName());
}

void TForm1::ButtonStartMenuClick() {
    Toggle(*this, shortcuts::ProgramsFolder, app::Application::ExeName());
}

void TForm1::ButtonStartUpClick() {
    Toggle(*this, shortcuts::StartupFolder, app::Application::ExeName());
}
