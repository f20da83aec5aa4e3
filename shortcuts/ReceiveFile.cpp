#include "app/Unit1.h"

void TForm1::ReceiveCommandLine() {}

void TForm1::AppMessageFilter(MSG&, bool&) {}

void TForm1::WMDropFiles(HDROP drop) { DragFinish(drop); }
