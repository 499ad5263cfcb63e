#pragma once

#include "platform/com/Guid.h"

#include <string>
#include <vector>

namespace host {

// A bar registered for hosts to offer: a class in the horizontal-bar
// category, its menu caption ("&" marks the access key) and its module.
struct RegisteredBar {
    CLSID clsid;
    std::string caption;
    std::string modulePath;
};

// Every registered horizontal bar, in registry order.
std::vector<RegisteredBar> registeredBars();

// A menu caption with its access key in GTK's form: "&" becomes "_", "&&"
// an "&", and a literal "_" is doubled.
std::string mnemonicLabel(const std::string& caption);

} // namespace host
