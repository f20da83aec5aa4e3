#pragma once

// The shortcut toggle's questions and messages as the user reads them, spelled out here on their
// own and never built by the program's functions, for the tests at every layer. `label` names
// the folder (送る, デスクトップ...).

#include <string>

namespace expected {

inline std::wstring UpdateQuestion(const std::wstring& label, const std::wstring& fileName) {
    return label + L" には既に " + fileName +
           L" が存在します。\r\n更新しますか？\r\n[はい]: 更新, [いいえ]: 削除, [Cancel]: 取消し";
}

inline std::wstring OpenFolderQuestion(const std::wstring& label) {
    return L"フォルダ " + label + L" を開きますか？";
}

inline std::wstring Updated(const std::wstring& label, const std::wstring& path) {
    return L"フォルダ " + label + L" の \r\n" + path + L"\r\n更新されました。";
}

inline std::wstring UpdateFailed(const std::wstring& label, const std::wstring& path) {
    return L"フォルダ " + label + L" の \r\n" + path + L"\r\n更新できませんでした。";
}

inline std::wstring Deleted(const std::wstring& label, const std::wstring& path) {
    return L"フォルダ " + label + L" から \r\n" + path + L"\r\n削除しました。";
}

inline std::wstring DeleteFailed(const std::wstring& label, const std::wstring& path) {
    return L"フォルダ " + label + L" から \r\n" + path +
           L"\r\n削除できませんでした。\r\n削除済み、または他で使用中です。";
}

inline std::wstring Created(const std::wstring& label, const std::wstring& path) {
    return L"フォルダ " + label + L" に \r\n" + path + L"\r\n新規作成しました。";
}

inline std::wstring CreateFailed(const std::wstring& label, const std::wstring& path) {
    return L"フォルダ " + label + L" に \r\n" + path + L"\r\n新規作成できませんでした。";
}

// The shortcut a creation message names; empty when the text is no creation message.
inline std::wstring CreatedShortcut(const std::wstring& label, const std::wstring& text) {
    const std::wstring around = Created(label, L"");
    const std::size_t path = around.find(L"\r\n") + 2;
    const bool created = text.size() > around.size() && text.starts_with(around.substr(0, path)) &&
                         text.ends_with(around.substr(path));
    return created ? text.substr(path, text.size() - around.size()) : L"";
}

// Nothing registered, for the reason given: `path` is the target, or the shortcut it would name.
inline std::wstring NotRegistered(const std::wstring& label, const std::wstring& path,
                                  const std::wstring& reason) {
    return L"フォルダ " + label + L" に \r\n" + path + L"\r\n登録できませんでした。\r\n" + reason;
}

// Refusals before anything is written.
inline std::wstring PathTooLong(const std::wstring& label, const std::wstring& path) {
    return NotRegistered(label, path, L"パスが長すぎます。");
}

inline std::wstring ReservedName(const std::wstring& label, const std::wstring& path) {
    return NotRegistered(label, path, L"この名前は Windows の予約名です。");
}

inline std::wstring NoFileTarget(const std::wstring& label, const std::wstring& path) {
    return NotRegistered(label, path, L"リンク先がファイルやフォルダではありません。");
}

// Neither created nor updated: the target at `path` did not answer in time.
inline std::wstring NoAnswer(const std::wstring& label, const std::wstring& path) {
    return NotRegistered(label, path, L"リンク先が応答しません。");
}

} // namespace expected
