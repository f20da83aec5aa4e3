#include "shortcuts/ShortcutTexts.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr wchar_t Path[] = L"C:\\Users\\u\\SendTo\\my.app.Lnk";

TEST(ShortcutTexts, AreJoinedFromTheirPiecesExactly) {
    struct Case {
        const char* name;
        std::function<std::wstring(std::wstring_view, std::wstring_view)> text;
        std::wstring expected;
    };
    const Case cases[] = {
        {"M1 updated", shortcuts::UpdatedMessage,
         L"フォルダ 送る の \r\nC:\\Users\\u\\SendTo\\my.app.Lnk\r\n更新されました。"},
        {"M2 update failed", shortcuts::UpdateFailedMessage,
         L"フォルダ 送る の \r\nC:\\Users\\u\\SendTo\\my.app.Lnk\r\n更新できませんでした。"},
        {"M3 deleted", shortcuts::DeletedMessage,
         L"フォルダ 送る から \r\nC:\\Users\\u\\SendTo\\my.app.Lnk\r\n削除しました。"},
        {"M4 delete failed", shortcuts::DeleteFailedMessage,
         L"フォルダ 送る から \r\nC:\\Users\\u\\SendTo\\my.app.Lnk\r\n削除できませんでした。\r\n"
         L"削除済み、または他で使用中です。"},
        {"M5 created", shortcuts::CreatedMessage,
         L"フォルダ 送る に \r\nC:\\Users\\u\\SendTo\\my.app.Lnk\r\n新規作成しました。"},
        {"M6 create failed", shortcuts::CreateFailedMessage,
         L"フォルダ 送る に \r\nC:\\Users\\u\\SendTo\\my.app.Lnk\r\n新規作成できませんでした。"},
        {"path too long", shortcuts::PathTooLongMessage,
         L"フォルダ 送る に \r\nC:\\Users\\u\\SendTo\\my.app.Lnk\r\n登録できませんでした。\r\n"
         L"パスが長すぎます。"},
        {"reserved name", shortcuts::ReservedNameMessage,
         L"フォルダ 送る に \r\nC:\\Users\\u\\SendTo\\my.app.Lnk\r\n登録できませんでした。\r\n"
         L"この名前は Windows の予約名です。"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text(L"送る", Path), c.expected) << c.name;
    }
}

TEST(ShortcutTexts, UpdateQuestionBeginsWithTheLabelItself) {
    EXPECT_EQ(
        shortcuts::UpdateQuestion(L"スタートメニューのプログラム", L"Tavimbo.Lnk"),
        L"スタートメニューのプログラム には既に Tavimbo.Lnk が存在します。\r\n更新しますか？\r\n"
        L"[はい]: 更新, [いいえ]: 削除, [Cancel]: 取消し");
    EXPECT_EQ(shortcuts::UpdateQuestion(L"送る", L".Lnk"),
              L"送る には既に .Lnk が存在します。\r\n更新しますか？\r\n"
              L"[はい]: 更新, [いいえ]: 削除, [Cancel]: 取消し");
}

TEST(ShortcutTexts, OpenFolderQuestionNamesTheFolder) {
    EXPECT_EQ(shortcuts::OpenFolderQuestion(L"デスクトップ"),
              L"フォルダ デスクトップ を開きますか？");
    EXPECT_EQ(shortcuts::OpenFolderQuestion(L"スタートアップ"),
              L"フォルダ スタートアップ を開きますか？");
}

} // namespace
