#include "tools/Colors.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace tools {

namespace {

constexpr forms::ColorValue rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

// The interface colors of the classic desktop scheme, by index.
constexpr std::array<forms::ColorValue, 31> kSystemColors = {
    rgb(200, 200, 200), rgb(0, 0, 0),       rgb(0, 84, 227),    rgb(122, 150, 223),
    rgb(240, 240, 240), rgb(255, 255, 255), rgb(100, 100, 100), rgb(0, 0, 0),
    rgb(0, 0, 0),       rgb(255, 255, 255), rgb(180, 180, 180), rgb(244, 247, 252),
    rgb(171, 171, 171), rgb(51, 153, 255),  rgb(255, 255, 255), rgb(240, 240, 240),
    rgb(160, 160, 160), rgb(109, 109, 109), rgb(0, 0, 0),       rgb(67, 78, 84),
    rgb(255, 255, 255), rgb(105, 105, 105), rgb(227, 227, 227), rgb(0, 0, 0),
    rgb(255, 255, 225), rgb(0, 0, 0),       rgb(0, 102, 204),   rgb(185, 209, 234),
    rgb(215, 228, 242), rgb(51, 153, 255),  rgb(240, 240, 240),
};

} // namespace

forms::ColorValue GetSysColor(int index) {
    if (index < 0 || index >= static_cast<int>(kSystemColors.size()))
        return 0;
    return kSystemColors[static_cast<size_t>(index)];
}

std::string ColorToHtml(forms::ColorValue color) {
    if (color < 0)
        color = GetSysColor(color & 0xFF);
    char text[8];
    std::snprintf(text, sizeof text, "#%.2x%.2x%.2x", color & 0xFF, (color >> 8) & 0xFF,
                  (color >> 16) & 0xFF);
    return text;
}

bool HTMLToColor(const std::string& text, forms::ColorValue& color) {
    if (text.size() != 7)
        return false;
    std::string digits = text[0] == '#' ? text.substr(1) : text;
    bool hex = std::all_of(digits.begin(), digits.end(),
                           [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    unsigned long long v = hex ? std::strtoull(digits.c_str(), nullptr, 16) : 0;
    color = static_cast<forms::ColorValue>((v & 0xFF00) | ((v >> 16) & 0xFF) | ((v & 0xFF) << 16));
    return true;
}

} // namespace tools
