#pragma once

#include "forms/FormDescription.h"

namespace forms {

// The bar's form: the edit and insertion toolbars, the page control with the
// formatting toolbar and the property pages, and the status bar.
const FormDesc& bandFormDescription();

// The three toolbars whose controls are switched on and off together.
inline constexpr const char* kBandToolbars[] = {"tlb_Edit", "ToolBar4", "tlb_Format"};

// The first status panel shows the edited page's location, the second
// information texts.
inline constexpr const char* kNotConnected = "Not connected - Press Edit to connect";

} // namespace forms
