#include "app/Unit1.h"

void TForm1::ButtonHelpClick() {}
void TForm1::ButtonPropertiesClick() {}
void TForm1::ButtonDonationClick() {}
void TForm1::ButtonHomeSiteClick() {}
