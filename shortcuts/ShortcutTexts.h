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

// Refusals before anything is asked or written: a target path too long for the shell link
// object (path is the target), a shortcut file name Windows takes for a device.
std::wstring PathTooLongMessage(std::wstring_view label, std::wstring_view path);
std::wstring ReservedNameMessage(std::wstring_view label, std::wstring_view path);

} // namespace shortcuts
