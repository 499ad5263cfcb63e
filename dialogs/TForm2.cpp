#include "dialogs/TForm2.h"

#include "forms/NotAvailable.h"

namespace dialogs {

TForm2::TForm2() : FormObject(forms::namedForm("TForm2")) {}

void TForm2::Show() {
    forms::notAvailableYet("The page properties dialog");
}

} // namespace dialogs
