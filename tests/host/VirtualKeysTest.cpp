#include "host/VirtualKeys.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>

TEST(VirtualKeys, GdkKeysBecomeTheCodesABarExpects) {
    struct Case {
        unsigned keyval;
        uint32_t code;
    };
    const Case cases[] = {
        // "." once reached the bar as 46, the code of Delete.
        {GDK_KEY_period, 0xBE},  {GDK_KEY_greater, 0xBE},
        {GDK_KEY_Delete, 0x2E},  {GDK_KEY_KP_Delete, 0x2E},
        {GDK_KEY_Tab, 0x09},     {GDK_KEY_ISO_Left_Tab, 0x09}, // Shift+Tab
        {GDK_KEY_a, 'A'},        {GDK_KEY_Z, 'Z'},
        {GDK_KEY_0, '0'},        {GDK_KEY_parenleft, '9'},
        {GDK_KEY_Return, 0x0D},  {GDK_KEY_KP_Enter, 0x0D},
        {GDK_KEY_KP_7, 0x67},    {GDK_KEY_KP_Decimal, 0x6E},
        {GDK_KEY_F1, 0x70},      {GDK_KEY_F12, 0x7B},
        {GDK_KEY_Left, 0x25},    {GDK_KEY_Escape, 0x1B},
        {GDK_KEY_minus, 0xBD},   {GDK_KEY_Hangul, 0}, // no code: not passed on
        {GDK_KEY_adiaeresis, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(host::virtualKeyFor(c.keyval), c.code) << gdk_keyval_name(c.keyval);
}
