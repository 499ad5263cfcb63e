#pragma once

#include "forms/FormDescription.h"

#include <functional>
#include <optional>

namespace forms {

// Indexes of the system's interface colors that the forms use.
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNTEXT = 18;

// Answers the explicit color of an interface color index, or nothing to
// fall back on the classic scheme. The toolkit view installs one that reads
// the desktop's theme.
using SystemColorSource = std::function<std::optional<ColorValue>(int index)>;
void setSystemColorSource(SystemColorSource source);

// The explicit color behind an interface color index (0 to 30).
ColorValue systemColor(int index);

} // namespace forms
