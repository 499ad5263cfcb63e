#pragma once

#include "forms/FormDescription.h"

namespace forms {

// The site wizard: a caption bar, a header, and two tabs. "New connection"
// holds a notebook of four pages turned by "<  Previous" and "Next >";
// "Existing connections" lists the saved connections by FTP server.
FormDesc wizardDescription();

// The notebook's pages, first to last.
inline constexpr const char* kWizardPages[] = {"page0", "page1", "page2", "3"};

} // namespace forms
