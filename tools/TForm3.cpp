#include "tools/TForm3.h"

#include "forms/NotAvailable.h"

namespace tools {

TForm3::TForm3() : FormObject(forms::namedForm("TForm3")) {}

void TForm3::Show() {
    forms::notAvailableYet("The table dialog");
}

} // namespace tools
