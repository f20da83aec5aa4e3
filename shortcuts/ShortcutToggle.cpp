#include "shortcuts/ShortcutToggle.h"

#include "app/FilePath.h"
#include "shortcuts/ShortcutPath.h"
#include "shortcuts/ShortcutTexts.h"

namespace shortcuts {

void RunToggle(const ToggleRequest& request, ToggleShell& shell, ToggleDialogs& dialogs,
               std::wstring& lastShortcutPath) {
    const std::wstring baseName =
        ShortcutBaseName(request.targetPath, request.exePath, request.appTitle);
    const std::wstring path = ShortcutPathIn(request.folderPath, baseName);
    lastShortcutPath = path;

    const std::wstring& label = request.folderLabel;
    // Only exactly S_OK counts: a save reporting S_FALSE did not write the file as asked.
    auto written = [&] { return shell.WriteShortcut(request.targetPath, path) == 0; };
    if (!shell.FileExists(path)) {
        dialogs.Tell(written() ? CreatedMessage(label, path) : CreateFailedMessage(label, path));
    } else {
        switch (
            dialogs.Ask(UpdateQuestion(label, app::ExtractFileName(path)), QuestionYesNoCancel)) {
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
