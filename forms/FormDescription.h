#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a form is made of, written once per form and read both by the control
// model the logic works on and by the toolkit view that shows it.
namespace forms {

enum class Kind {
    CoolBar,        // a strip of toolbars, stacked top to bottom
    ToolBar,        // a row of tool buttons
    Button,         // a push button (tool button or ordinary button)
    CheckButton,    // a two-state tool button
    SpeedButton,    // a two-state button that shows its caption
    DropDownButton, // a tool button with a drop-down menu
    Separator,      // a gap between tool buttons; may still have a click handler
    ComboBox,       // a drop-down list with free text
    ColorPicker,    // a color button with a palette and "More..."
    PageControl,    // pages with tabs
    Page,           // one page of a page control; its visibility is its tab's
    Panel,          // a plain container
    StatusBar,      // panels of text along the bottom
    Memo,           // multi-line text
    Edit,           // one line of text
    Label,          // a caption beside a field
    Browser,        // a small embedded browser
    PopupMenu,      // a menu shown by a drop-down button
    MenuItem,       // an entry of a popup menu
    ListBox,        // a list of text lines, one selectable at a time
    WaitingBar,     // a bar that sweeps while its control is down
};

// A negative color stands for an entry of the system's table of interface
// colors (the low byte is the index); otherwise red is the low byte.
using ColorValue = int32_t;
inline constexpr ColorValue clBtnFace = static_cast<ColorValue>(0x8000000F);

struct ControlDesc {
    std::string name;
    Kind kind = Kind::Button;
    std::string parent; // the containing control; "" for the form itself
    std::string caption;
    std::string hint;
    std::vector<std::string> items; // list entries, or status panel texts
    std::vector<int> widths;        // status panel widths
    bool enabled = true;
    bool visible = true;
    bool down = false;
    // Two-state buttons with the same non-zero group raise each other;
    // allowAllUp lets the pressed one be raised again by a click.
    int groupIndex = 0;
    bool allowAllUp = false;
    bool showCaption = false; // tool buttons show pictures unless this is set
    bool bold = false;
    bool handCursor = false;
    std::string picture; // icon name for the button's picture
    std::string menu;    // the popup menu of a drop-down button
    int height = 0;      // the minimum height of a toolbar or status bar
    int width = 0;
    int dropDownCount = 0; // entries a combo box shows at a time
    ColorValue color = 0;  // a color picker's first color
    bool tabsOnLeft = false;
    int tabWidth = 0;
    bool multiLine = false;
    bool password = false;   // an edit that hides what is typed
    bool isDefault = false;  // a button that Enter presses (the visible one on top)
    std::string covers;      // a button stacked over this one hides it while visible
    bool tabsHidden = false; // a page control turned by program only
    bool buttonBar = false;  // a panel that lines its buttons up at the end
    bool freeText = false;   // a combo box off the toolbars that takes typed text
};

struct FormDesc {
    std::string name;
    std::string caption;
    int width = 0;
    int height = 0;
    bool border = true;
    std::string fontName;
    int fontHeight = 0;
    std::vector<ControlDesc> controls; // parents before their children
    bool topmost = false;              // a tool window that stays above the others
};

// A form with a name and no controls yet.
inline FormDesc namedForm(std::string name) {
    FormDesc desc;
    desc.name = std::move(name);
    return desc;
}

} // namespace forms
