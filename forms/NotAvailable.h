#pragma once

#include <string>

namespace forms {

// Tells the user, in a plain message box, that a feature is not built yet.
void notAvailableYet(const std::string& feature);

} // namespace forms
