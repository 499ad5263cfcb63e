#include "tools/Colors.h"

#include "forms/SystemColors.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace tools {

forms::ColorValue GetSysColor(int index) {
    return forms::systemColor(index);
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
