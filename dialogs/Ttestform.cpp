#include "dialogs/Ttestform.h"

#include "forms/NotAvailable.h"

namespace dialogs {

Ttestform::Ttestform() : FormObject(forms::namedForm("Ttestform")) {}

void Ttestform::Show() {
    forms::notAvailableYet("The links and images dialog");
}

} // namespace dialogs
