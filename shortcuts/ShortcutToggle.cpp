#include "shortcuts/ShortcutToggle.h"

#include "services/FilePath.h"
#include "shortcuts/ShortcutFile.h"

namespace shortcuts {
namespace {

// The questions and outcome messages of the toggle. label names the folder, fileName is the
// shortcut's file name and path its full path.

constexpr std::wstring_view LineBreak = L"\r\n";

// Every outcome message names the folder, then the shortcut's path on a line of its own, then
// the outcome. The blank before the first line break is part of the text.
std::wstring OutcomeMessage(std::wstring_view label, std::wstring_view particle,
                            std::wstring_view path, std::wstring_view outcome) {
    std::wstring text(L"フォルダ ");
    text.append(label).append(L" ").append(particle).append(L" ").append(LineBreak);
    text.append(path).append(LineBreak).append(outcome);
    return text;
}

} // namespace

std::wstring UpdateQuestion(std::wstring_view label, std::wstring_view fileName) {
    std::wstring text(label);
    text.append(L" には既に ").append(fileName).append(L" が存在します。").append(LineBreak);
    text.append(L"更新しますか？").append(LineBreak);
    text.append(L"[はい]: 更新, [いいえ]: 削除, [Cancel]: 取消し");
    return text;
}

std::wstring OpenFolderQuestion(std::wstring_view label) {
    return std::wstring(L"フォルダ ").append(label).append(L" を開きますか？");
}

std::wstring UpdatedMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(label, L"の", path, L"更新されました。");
}

std::wstring UpdateFailedMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(label, L"の", path, L"更新できませんでした。");
}

std::wstring DeletedMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(label, L"から", path, L"削除しました。");
}

std::wstring DeleteFailedMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(label, L"から", path,
                          L"削除できませんでした。\r\n削除済み、または他で使用中です。");
}

std::wstring CreatedMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(label, L"に", path, L"新規作成しました。");
}

std::wstring CreateFailedMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(label, L"に", path, L"新規作成できませんでした。");
}

std::wstring NoAnswerMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(label, L"に", path,
                          L"登録できませんでした。\r\nリンク先が応答しません。");
}

std::wstring PathTooLongMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(label, L"に", path, L"登録できませんでした。\r\nパスが長すぎます。");
}

std::wstring ReservedNameMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(label, L"に", path,
                          L"登録できませんでした。\r\nこの名前は Windows の予約名です。");
}

std::wstring NoFileTargetMessage(std::wstring_view label, std::wstring_view path) {
    return OutcomeMessage(
        label, L"に", path,
        L"登録できませんでした。\r\nリンク先がファイルやフォルダではありません。");
}

void RunToggle(const ToggleRequest& request, ToggleEnvironment& environment,
               std::wstring& lastShortcutPath) {
    const std::wstring baseName =
        ShortcutBaseName(request.targetPath, request.exePath, request.appTitle);
    const std::wstring path = ShortcutPathIn(request.folderPath, baseName);
    const std::wstring& label = request.folderLabel;
    // Kept whatever follows, so that the open-folder button shows where this shortcut would be.
    lastShortcutPath = path;
    // Refused before anything is asked, as none of these could be created, updated or deleted as
    // the messages would say: an empty target (the shortcut received pointed at something that
    // is not a file, such as a virtual shell item) would make a shortcut to nothing, the shell
    // link object stores a longer target cut or empty, and a device name reaches the device.
    if (request.targetPath.empty()) {
        environment.Tell(NoFileTargetMessage(label, path));
        return;
    }
    if (!services::FitsPathBuffer(request.targetPath)) {
        environment.Tell(PathTooLongMessage(label, request.targetPath));
        return;
    }
    if (services::IsReservedDeviceName(services::ExtractFileName(path))) {
        environment.Tell(ReservedNameMessage(label, path));
        return;
    }
    // The shell cannot write a new shortcut at a longer path; one put there some other way is
    // still offered, at least for deletion.
    const bool exists = environment.FileExists(path);
    if (!exists && !services::FitsPathBuffer(path)) {
        environment.Tell(PathTooLongMessage(label, path));
        return;
    }

    // Only exactly S_OK counts: a save reporting S_FALSE did not write the file as asked.
    auto write = [&](WriteKind kind, auto writtenMessage, auto failedMessage) {
        if (request.makeTargetFolder && !environment.MakeFolder(request.targetPath)) {
            environment.Tell(failedMessage(label, path));
            return;
        }
        const long result = environment.WriteShortcut(request.targetPath, path, kind);
        environment.Tell(result == 0               ? writtenMessage(label, path)
                         : result == WriteNoAnswer ? NoAnswerMessage(label, request.targetPath)
                                                   : failedMessage(label, path));
    };
    if (!exists) {
        write(WriteKind::Create, CreatedMessage, CreateFailedMessage);
    } else {
        switch (environment.Ask(UpdateQuestion(label, services::ExtractFileName(path)),
                                QuestionYesNoCancel)) {
        case AnswerYes:
            write(WriteKind::Update, UpdatedMessage, UpdateFailedMessage);
            break;
        case AnswerNo:
            environment.Tell(environment.DeleteShortcut(path) ? DeletedMessage(label, path)
                                                              : DeleteFailedMessage(label, path));
            break;
        case AnswerCancel:
            return;
        default:
            // The box could not be shown: nothing is changed, yet the folder is offered.
            break;
        }
    }
    if (environment.Ask(OpenFolderQuestion(label), QuestionYesNo) == AnswerYes) {
        environment.ShowInExplorer(path);
    }
}

} // namespace shortcuts
