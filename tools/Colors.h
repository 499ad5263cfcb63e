#pragma once

#include "forms/FormDescription.h"

#include <string>

// Color values as the pickers deliver them and the "#rrggbb" text that
// attributes and editor commands use.
namespace tools {

// The explicit color behind a system color index (the low byte of a
// negative color value).
forms::ColorValue GetSysColor(int index);

// "#" and red, green, blue as two lower-case hexadecimal digits each; a
// system color is first turned into its explicit color.
std::string ColorToHtml(forms::ColorValue color);

// Reads seven characters ("#" and six hexadecimal digits, any case) into
// color and answers true; any other length answers false and leaves color
// alone. Hexadecimal that does not read gives black.
bool HTMLToColor(const std::string& text, forms::ColorValue& color);

} // namespace tools
