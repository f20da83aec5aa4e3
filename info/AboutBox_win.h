#pragma once

#include <windows.h>

#include <string>

// The four numbers of the file version in the fixed part of a file's version resource; the
// empty text when it has none.
std::wstring GetFileVersionText(const std::wstring& path);

// Paints the About window with a gradient from white to a colour drawn anew on every paint.
void AboutBoxPaint(HWND sender);
