#include "shortcuts/ToggleFlow.h"

#include "shortcuts/ShortcutPath.h"
#include "shortcuts/ShortcutTexts.h"

namespace shortcuts {

void RunToggle(const ToggleRequest& request, ToggleShell& shell, ToggleDialogs& dialogs,
               std::wstring& lastShortcutPath) {
    const std::wstring baseName =
        ShortcutBaseName(request.targetPath, request.exePath, request.appTitle);
    const std::wstring path = ShortcutPathIn(request.folderPath, baseName);
    const std::wstring& label = request.folderLabel;
    // Refused before anything is asked: the shell would store a cut or empty target, and a
    // device name reaches the device, not a file, so neither could be created, updated or
    // deleted as the messages would say.
    if (!FitsPathBuffer(request.targetPath)) {
        dialogs.Tell(PathTooLongMessage(label, request.targetPath));
        return;
    }
    if (IsReservedDeviceName(FileNameOf(path))) {
        dialogs.Tell(ReservedNameMessage(label, path));
        return;
    }
    lastShortcutPath = path;

    // Only exactly S_OK counts: a save reporting S_FALSE did not write the file as asked.
    auto written = [&] { return shell.WriteShortcut(request.targetPath, path) == 0; };
    if (!shell.FileExists(path)) {
        dialogs.Tell(written() ? CreatedMessage(label, path) : CreateFailedMessage(label, path));
    } else {
        switch (dialogs.Ask(UpdateQuestion(label, FileNameOf(path)), QuestionYesNoCancel)) {
        case AnswerYes:
            dialogs.Tell(written() ? UpdatedMessage(label, path)
                                   : UpdateFailedMessage(label, path));
            break;
        case AnswerNo:
            dialogs.Tell(shell.DeleteShortcut(path) ? DeletedMessage(label, path)
                                                    : DeleteFailedMessage(label, path));
            break;
        case AnswerCancel:
            return;
        default:
            // The box could not be shown: nothing is changed, yet the folder is offered.
            break;
        }
    }
    if (dialogs.Ask(OpenFolderQuestion(label), QuestionYesNo) == AnswerYes) {
        dialogs.ShowInExplorer(path);
    }
}

} // namespace shortcuts
