#include "forms/SystemColors.h"

#include <array>

namespace forms {

namespace {

constexpr ColorValue rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

// The interface colors of the classic desktop scheme, by index.
constexpr std::array<ColorValue, 31> kClassic = {
    rgb(200, 200, 200), rgb(0, 0, 0),       rgb(0, 84, 227),    rgb(122, 150, 223),
    rgb(240, 240, 240), rgb(255, 255, 255), rgb(100, 100, 100), rgb(0, 0, 0),
    rgb(0, 0, 0),       rgb(255, 255, 255), rgb(180, 180, 180), rgb(244, 247, 252),
    rgb(171, 171, 171), rgb(51, 153, 255),  rgb(255, 255, 255), rgb(240, 240, 240),
    rgb(160, 160, 160), rgb(109, 109, 109), rgb(0, 0, 0),       rgb(67, 78, 84),
    rgb(255, 255, 255), rgb(105, 105, 105), rgb(227, 227, 227), rgb(0, 0, 0),
    rgb(255, 255, 225), rgb(0, 0, 0),       rgb(0, 102, 204),   rgb(185, 209, 234),
    rgb(215, 228, 242), rgb(51, 153, 255),  rgb(240, 240, 240),
};

SystemColorSource& source() {
    static SystemColorSource s;
    return s;
}

} // namespace

void setSystemColorSource(SystemColorSource s) {
    source() = std::move(s);
}

ColorValue systemColor(int index) {
    if (source())
        if (std::optional<ColorValue> color = source()(index))
            return *color & 0xFFFFFF;
    if (index < 0 || index >= static_cast<int>(kClassic.size()))
        return 0;
    return kClassic[static_cast<size_t>(index)];
}

} // namespace forms
