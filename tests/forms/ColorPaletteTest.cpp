#include "forms/ColorPalette.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

// As a page writes it: "#RRGGBB".
std::string webColor(forms::ColorValue color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                  (color >> 16) & 0xFF);
    return text;
}

} // namespace

TEST(ColorPalette, OffersTheSixteenBasicWebColorsOnce) {
    const std::set<std::string> basic = {
        "#000000" /* black */, "#800000" /* maroon */,  "#008000" /* green */,
        "#808000" /* olive */, "#000080" /* navy */,    "#800080" /* purple */,
        "#008080" /* teal */,  "#808080" /* gray */,    "#C0C0C0" /* silver */,
        "#FF0000" /* red */,   "#00FF00" /* lime */,    "#FFFF00" /* yellow */,
        "#0000FF" /* blue */,  "#FF00FF" /* fuchsia */, "#00FFFF" /* aqua */,
        "#FFFFFF" /* white */,
    };
    std::set<std::string> offered;
    for (forms::ColorValue color : forms::kColorPalette)
        EXPECT_TRUE(offered.insert(webColor(color)).second) << webColor(color) << " twice";
    EXPECT_EQ(offered, basic);
}
