#pragma once

#include <string>
#include <string_view>

namespace shortcuts {

// The questions and outcome messages of the shortcut toggle. label names the folder, fileName
// is the shortcut's file name and path its full path.

std::wstring UpdateQuestion(std::wstring_view label, std::wstring_view fileName);
std::wstring OpenFolderQuestion(std::wstring_view label);

std::wstring UpdatedMessage(std::wstring_view label, std::wstring_view path);
std::wstring UpdateFailedMessage(std::wstring_view label, std::wstring_view path);
std::wstring DeletedMessage(std::wstring_view label, std::wstring_view path);
std::wstring DeleteFailedMessage(std::wstring_view label, std::wstring_view path);
std::wstring CreatedMessage(std::wstring_view label, std::wstring_view path);
std::wstring CreateFailedMessage(std::wstring_view label, std::wstring_view path);

// Shown when more than one file arrives at once.
inline constexpr std::wstring_view MultipleFilesWarning =
    L"複数のファイルは受け取れません。先頭のファイルを処理します。";

} // namespace shortcuts
