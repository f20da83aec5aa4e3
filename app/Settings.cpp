#include "app/Unit1.h"

void TForm1::LoadSettings() {}

void TForm1::SaveSettings() {}
