#include "forms/NotAvailable.h"

#include "platform/ui/Dialogs.h"

namespace forms {

void notAvailableYet(const std::string& feature) {
    ui::dialogs().message(feature + " is not available yet.", "Information", ui::Icon::Information);
}

} // namespace forms
