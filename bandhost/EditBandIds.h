#pragma once

#include "platform/com/Guid.h"

// The one class the module serves.
inline constexpr CLSID CLSID_EditBand{
    0xE279D4B4, 0x5FAF, 0x483C, {0xAB, 0x32, 0xEC, 0xE4, 0x3A, 0xBF, 0x9F, 0x7F}};

inline constexpr const char* kEditBandDescription = "Tavrisk";
inline constexpr const char* kEditBandMenuCaption = "&Tavrisk";
