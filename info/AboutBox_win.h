#pragma once

#include <windows.h>

#include "services/Application_win.h"

#include <string>

namespace info {

// The four numbers of the file version in the fixed part of a file's version resource; the
// empty text when it has none.
std::wstring GetFileVersionText(const std::wstring& path);

// Paints the About window with a gradient from white to a colour drawn anew on every paint.
void AboutBoxPaint(HWND sender);

// The About box, modal over the main window and centred on it.
void ShowAboutBox(const services::Application& application, HWND mainWindow);

} // namespace info
