#pragma once

#include "forms/Form.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/browser/WebBrowser.h"

#include <functional>
#include <string>

// The click dispatcher and the table and image property panels of the band
// form.
namespace tools {

// What the dispatcher and the panels reach of the band form.
struct BandParts {
    BandParts(IWebBrowser2* browser, forms::Form& form, ComPtr<IHTMLElement>& selected)
        : browser(browser), form(form), selected(selected) {}

    IWebBrowser2* browser;
    forms::Form& form;
    // The element the panels and the insertion tools work on.
    ComPtr<IHTMLElement>& selected;
    std::function<void(const std::string&)> trace;
    // Lets pending window messages run.
    std::function<void()> pumpMessages;
    // The links dialog, whose address ("URLs") and target ("targetcombo")
    // boxes a click on a link fills; null when there is none.
    forms::Form* linkDialog = nullptr;
};

// The insertion buttons for free image, aligned image, free text,
// horizontal bar and table, in this order.
inline constexpr const char* kInsertionTools[] = {"ToolButton14", "ToolButton11", "ToolButton5",
                                                  "ToolButton28", "ToolButton13"};
void setInsertionTools(forms::Form& form, bool enabled);

// Shows the tabs asked for and hides the others, the source page's always.
// When the active page loses its tab, the first shown page becomes active.
void showPages(forms::Form& form, bool text, bool table, bool image);

// Empties every edit and combo box placed directly on panel.
void effaceproperties(forms::Form& form, const std::string& panel);

// The dispatcher of every click and mouse-up in the edited document: the
// link status, the insertion tools and the property page that suit what
// was clicked. Never fails outward.
void BrowClick(BandParts& band);

// Fill the table or image panel from the selected element.
void tableproperties(BandParts& band);
void imageproperties(BandParts& band);

// Write the table or image panel into the table or image selected in the
// document now; nothing when no such object is selected.
void TWidthExit(BandParts& band);
void isrcExit(BandParts& band);

} // namespace tools
