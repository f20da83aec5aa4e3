#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// The shell request for a file's Properties sheet, owned by the given window; it points into
// path, which must outlive it.
SHELLEXECUTEINFOW FilePropertiesRequest(HWND owner, const std::wstring& path);

// Opens the shell's Properties sheet of a file over the main window.
bool ShowFileProperties(const std::wstring& path);
