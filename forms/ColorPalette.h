#pragma once

#include "forms/FormDescription.h"

#include <array>

namespace forms {

// The sixteen colors a color picker offers, red in the low byte: the dark
// row, then the light row.
constexpr std::array<ColorValue, 16> kColorPalette = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

} // namespace forms
