#pragma once

#include <windows.h>
#include <shellapi.h>

#include "services/Application_win.h"

#include <string>

namespace info {

// The shell request for a file's Properties sheet, owned by the given window; it points into
// path, which must outlive it.
SHELLEXECUTEINFOW FilePropertiesRequest(HWND owner, const std::wstring& path);

// Opens the shell's Properties sheet of a file over the main window.
bool ShowFileProperties(HWND mainWindow, const std::wstring& path);

// Opens the help file found beside the executable or in a folder above it, or says where it
// was looked for.
void ShowHelp(const services::Application& application, HWND owner);

// The maker's home page, and its donation page below it, in the browser.
void OpenHomePage(HWND owner);
void OpenDonationPage(HWND owner);

} // namespace info
