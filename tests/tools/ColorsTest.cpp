#include "tools/Colors.h"

#include <gtest/gtest.h>

namespace {

constexpr forms::ColorValue rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

} // namespace

TEST(ColorToHtml, WritesRedGreenBlueInLowerCase) {
    EXPECT_EQ(tools::ColorToHtml(rgb(255, 0, 0)), "#ff0000");
    EXPECT_EQ(tools::ColorToHtml(rgb(86, 52, 18)), "#563412");
    EXPECT_EQ(tools::ColorToHtml(rgb(171, 205, 239)), "#abcdef");
    EXPECT_EQ(tools::ColorToHtml(0), "#000000");
}

TEST(ColorToHtml, ASystemColorBecomesItsExplicitColor) {
    std::string face = tools::ColorToHtml(forms::clBtnFace);
    EXPECT_EQ(face, tools::ColorToHtml(tools::GetSysColor(15)));
    EXPECT_EQ(face.size(), 7u);
    EXPECT_EQ(face.find('-'), std::string::npos);
}

TEST(HTMLToColor, ReadsSevenCharacters) {
    struct Case {
        const char* text;
        forms::ColorValue expected;
    };
    const Case cases[] = {
        {"#FF0000", rgb(255, 0, 0)},
        {"#00ff00", rgb(0, 255, 0)},
        {"#abcdef", rgb(171, 205, 239)},
        {"#ABCDEF", rgb(171, 205, 239)},
        {"#ZZZZZZ", 0},
        {"1FF0000", rgb(255, 0, 0)},
        {"#-12345", 0},
        {"# 12345", 0},
    };
    for (const Case& c : cases) {
        forms::ColorValue color = 12345;
        EXPECT_TRUE(tools::HTMLToColor(c.text, color)) << c.text;
        EXPECT_EQ(color, c.expected) << c.text;
    }
}

TEST(HTMLToColor, OtherLengthsLeaveTheColorAlone) {
    for (const char* text : {"", "#fff", "red", "#ff00000"}) {
        forms::ColorValue color = 4242;
        EXPECT_FALSE(tools::HTMLToColor(text, color)) << text;
        EXPECT_EQ(color, 4242) << text;
    }
}

TEST(Colors, RoundTrip) {
    for (forms::ColorValue color : {rgb(1, 2, 3), rgb(255, 255, 255), rgb(16, 128, 250)}) {
        forms::ColorValue back = -1;
        ASSERT_TRUE(tools::HTMLToColor(tools::ColorToHtml(color), back));
        EXPECT_EQ(back, color);
    }
}
