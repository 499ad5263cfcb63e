#include "VirtualKeys.h"

#include <gdk/gdkkeysyms.h>
#include <unordered_map>

namespace host {

namespace {

uint32_t inRange(unsigned keyval, unsigned first, unsigned last, uint32_t firstCode) {
    return keyval >= first && keyval <= last ? firstCode + (keyval - first) : 0;
}

const std::unordered_map<unsigned, uint32_t>& namedKeys() {
    static const std::unordered_map<unsigned, uint32_t> keys = {
        {GDK_KEY_BackSpace, 0x08},   {GDK_KEY_Tab, 0x09},          {GDK_KEY_ISO_Left_Tab, 0x09},
        {GDK_KEY_Return, 0x0D},      {GDK_KEY_KP_Enter, 0x0D},     {GDK_KEY_Shift_L, 0x10},
        {GDK_KEY_Shift_R, 0x10},     {GDK_KEY_Control_L, 0x11},    {GDK_KEY_Control_R, 0x11},
        {GDK_KEY_Alt_L, 0x12},       {GDK_KEY_Alt_R, 0x12},        {GDK_KEY_Pause, 0x13},
        {GDK_KEY_Caps_Lock, 0x14},   {GDK_KEY_Escape, 0x1B},       {GDK_KEY_space, 0x20},
        {GDK_KEY_Page_Up, 0x21},     {GDK_KEY_Page_Down, 0x22},    {GDK_KEY_End, 0x23},
        {GDK_KEY_Home, 0x24},        {GDK_KEY_Left, 0x25},         {GDK_KEY_Up, 0x26},
        {GDK_KEY_Right, 0x27},       {GDK_KEY_Down, 0x28},         {GDK_KEY_Print, 0x2C},
        {GDK_KEY_Insert, 0x2D},      {GDK_KEY_Delete, 0x2E},       {GDK_KEY_KP_Delete, 0x2E},
        {GDK_KEY_Super_L, 0x5B},     {GDK_KEY_Super_R, 0x5C},      {GDK_KEY_Menu, 0x5D},
        {GDK_KEY_KP_Multiply, 0x6A}, {GDK_KEY_KP_Add, 0x6B},       {GDK_KEY_KP_Subtract, 0x6D},
        {GDK_KEY_KP_Decimal, 0x6E},  {GDK_KEY_KP_Divide, 0x6F},    {GDK_KEY_Num_Lock, 0x90},
        {GDK_KEY_Scroll_Lock, 0x91}, {GDK_KEY_semicolon, 0xBA},    {GDK_KEY_colon, 0xBA},
        {GDK_KEY_equal, 0xBB},       {GDK_KEY_plus, 0xBB},         {GDK_KEY_comma, 0xBC},
        {GDK_KEY_less, 0xBC},        {GDK_KEY_minus, 0xBD},        {GDK_KEY_underscore, 0xBD},
        {GDK_KEY_period, 0xBE},      {GDK_KEY_greater, 0xBE},      {GDK_KEY_slash, 0xBF},
        {GDK_KEY_question, 0xBF},    {GDK_KEY_grave, 0xC0},        {GDK_KEY_asciitilde, 0xC0},
        {GDK_KEY_bracketleft, 0xDB}, {GDK_KEY_braceleft, 0xDB},    {GDK_KEY_backslash, 0xDC},
        {GDK_KEY_bar, 0xDC},         {GDK_KEY_bracketright, 0xDD}, {GDK_KEY_braceright, 0xDD},
        {GDK_KEY_apostrophe, 0xDE},  {GDK_KEY_quotedbl, 0xDE},     {GDK_KEY_exclam, '1'},
        {GDK_KEY_at, '2'},           {GDK_KEY_numbersign, '3'},    {GDK_KEY_dollar, '4'},
        {GDK_KEY_percent, '5'},      {GDK_KEY_asciicircum, '6'},   {GDK_KEY_ampersand, '7'},
        {GDK_KEY_asterisk, '8'},     {GDK_KEY_parenleft, '9'},     {GDK_KEY_parenright, '0'},
    };
    return keys;
}

} // namespace

uint32_t virtualKeyFor(unsigned keyval) {
    if (uint32_t code = inRange(keyval, GDK_KEY_a, GDK_KEY_z, 'A'))
        return code;
    if (uint32_t code = inRange(keyval, GDK_KEY_A, GDK_KEY_Z, 'A'))
        return code;
    if (uint32_t code = inRange(keyval, GDK_KEY_0, GDK_KEY_9, '0'))
        return code;
    if (uint32_t code = inRange(keyval, GDK_KEY_KP_0, GDK_KEY_KP_9, 0x60))
        return code;
    if (uint32_t code = inRange(keyval, GDK_KEY_F1, GDK_KEY_F24, 0x70))
        return code;
    auto named = namedKeys().find(keyval);
    return named == namedKeys().end() ? 0 : named->second;
}

} // namespace host
