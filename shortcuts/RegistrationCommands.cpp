#include "app/Unit1.h"

void TForm1::ButtonSendToClick() {}
void TForm1::ButtonSelectProgramClick() {}
void TForm1::ButtonSelectFolderClick() {}
void TForm1::ButtonOpenSendToFolderClick() {}
void TForm1::ButtonDeskTopClick() {}
void TForm1::ButtonStartMenuClick() {}
void TForm1::ButtonStartUpClick() {}
