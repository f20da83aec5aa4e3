#include "app/Unit1.h"

void TForm1::ToggleShortcut(int, std::wstring, std::wstring) {}
