#include "tools/SelectionPanels.h"

#include "tools/BrowserCalls.h"
#include "tools/Colors.h"
#include "tools/ElementCalls.h"
#include "tools/Formatting.h"
#include "tools/Links.h"

#include <utility>

namespace tools {

namespace {

struct Field {
    const char* control;
    const char* attribute;
};

// The table panel in the order its attributes are written.
constexpr Field kTableFields[] = {
    {"TWidth", "width"},          {"Theight", "height"},       {"Tcouleur", "bgcolor"},
    {"TBGImage", "background"},   {"tborder", "border"},       {"TBorderColor", "bordercolor"},
    {"Tcellspad", "cellpadding"}, {"TcellSpa", "cellspacing"},
};

// The table panel in the order its attributes are read.
constexpr Field kTableReads[] = {
    {"tborder", "border"}, {"Tcellspad", "cellpadding"}, {"TcellSpa", "cellspacing"},
    {"TWidth", "width"},   {"Theight", "height"},        {"TBGImage", "background"},
};

constexpr Field kImageReads[] = {
    {"ivspace", "vspace"}, {"ihspace", "hspace"}, {"iwidth", "width"}, {"iheight", "height"},
    {"ialt", "alt"},       {"ialign", "align"},   {"isrc", "src"},     {"iborder", "border"},
};

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

void trace(BandParts& band, const std::string& line) {
    if (band.trace)
        band.trace(line);
}

// Makes the page active; a page that becomes active shows empty fields
// until they are filled.
void activatePage(forms::Form& form, const std::string& page) {
    forms::Control& pages = form["PageControl1"];
    if (pages.activePage() == page)
        return;
    pages.setActivePage(page);
    if (page == "pimage") {
        effaceproperties(form, "Panel4");
    } else if (page == "ptable") {
        effaceproperties(form, "Panel1");
        effaceproperties(form, "Panel2");
    }
}

bool isBodyOrHtml(const std::string& tag) {
    return tag == "body" || tag == "html";
}

// The link around the element, climbing up to the child of the body.
ComPtr<IHTMLElement> linkAround(ComPtr<IHTMLElement> element) {
    while (element) {
        if (tagOf(element.get()) == "a")
            return element;
        ComPtr<IHTMLElement> parent = parentOf(element.get());
        if (!parent || isBodyOrHtml(tagOf(parent.get())))
            return nullptr;
        element = std::move(parent);
    }
    return nullptr;
}

void setControlText(forms::Form* form, const char* control, const std::string& text) {
    if (!form)
        return;
    if (forms::Control* c = form->find(control))
        c->setText(text);
}

void showLinkStatus(BandParts& band, IHTMLElement* link) {
    forms::Form& form = band.form;
    if (!link) {
        form["ToolButton16"].setPicture(kLinkPicture);
        form["StatusBar1"].setPanelText(1, "No Link");
        form["Removelink1"].setEnabled(false);
        return;
    }
    trace(band, "browATrouvé");
    if (outerHtmlOf(link).empty()) {
        form["ToolButton16"].setPicture(kLinkPicture);
        return;
    }
    std::string href = attributeText(link, "href");
    std::string target = attributeText(link, "target");
    setControlText(band.linkDialog, "URLs", href);
    if (!target.empty())
        setControlText(band.linkDialog, "targetcombo", target);
    form["StatusBar1"].setPanelText(1, "Link:" + href);
    form["ToolButton16"].setPicture(kLinkPresentPicture);
    form["Removelink1"].setEnabled(true);
}

void showObjectPanel(BandParts& band, const ComPtr<IHTMLElement>& object) {
    band.selected = object;
    std::string tag = tagOf(object.get());
    if (tag == "table") {
        showPages(band.form, false, true, false);
        tableproperties(band);
    } else if (tag == "img") {
        showPages(band.form, false, false, true);
        imageproperties(band);
    }
}

void showTextPage(BandParts& band, ComPtr<IHTMLElement> parent) {
    band.form["PageControl1"].setActivePage("pgeneral");
    showPages(band.form, true, false, false);
    // A caret or selection right inside a table cell keeps the element the
    // tools work on.
    if (tagOf(parent.get()) == "td")
        return;
    band.selected = std::move(parent);
    DHTMLEditDisplayChanged(band.browser, band.form, band.selected);
}

// The object selected in the document now, if it has the tag.
ComPtr<IHTMLElement> selectedObject(IWebBrowser2* browser, const char* tag) {
    ComPtr<IHTMLDocument2> document = currentDocument(browser);
    ComPtr<IUnknown> range = createRange(document.get());
    if (!range.query<IHTMLControlRange>())
        return nullptr;
    ComPtr<IHTMLElement> object = rangeElement(range.get());
    return tagOf(object.get()) == tag ? object : nullptr;
}

} // namespace

void setInsertionTools(forms::Form& form, bool enabled) {
    for (const char* name : kInsertionTools)
        form[name].setEnabled(enabled);
}

void showPages(forms::Form& form, bool text, bool table, bool image) {
    form["pgeneral"].setVisible(text);
    form["ptable"].setVisible(table);
    form["pimage"].setVisible(image);
    form["HTMLSource"].setVisible(false);
    forms::Control& pages = form["PageControl1"];
    if (const forms::Control* active = form.find(pages.activePage()); !active || !active->visible())
        pages.setActivePage(text ? "pgeneral" : table ? "ptable" : image ? "pimage" : "");
}

void effaceproperties(forms::Form& form, const std::string& panel) {
    for (forms::Control* field : form.children(panel))
        if (field->kind() == forms::Kind::Edit || field->kind() == forms::Kind::ComboBox)
            field->setText("");
}

void BrowClick(BandParts& band) {
    // Errors end the dispatch silently where they happen: a click must
    // never bring up a box, and whatever was already shown stays right.
    try {
        if (!band.form["designmode"].down())
            return;
        ComPtr<IHTMLDocument2> document = currentDocument(band.browser);
        ComPtr<IHTMLSelectionObject> selection = selectionOf(document.get());
        std::string type;
        check(selection->get_type(&type));
        ComPtr<IUnknown> range;
        check(selection->createRange(range.put()));
        trace(band, "brow");
        // The element the range covers: the object itself, or the innermost
        // element around the text or the caret.
        ComPtr<IHTMLElement> element;
        ComPtr<IHTMLElement> link;
        try {
            element = rangeElement(range.get());
            if (type == "Control") {
                setInsertionTools(band.form, false);
                trace(band, "browcontrol");
                link = linkAround(parentOf(element.get()));
            } else {
                // A caret is where the user inserts next, and a caret in a
                // link is in that link as much as a selection is.
                setInsertionTools(band.form, true);
                trace(band, "browtexte");
                link = linkAround(element);
            }
        } catch (const BrowserCallError&) {
            // No link is found past an element the page no longer answers for.
        }
        trace(band, "browici");
        showLinkStatus(band, link.get());
        if (type == "Control")
            showObjectPanel(band, element);
        else
            showTextPage(band, element ? element : rangeElement(range.get()));
    } catch (const std::exception&) {
    }
}

void tableproperties(BandParts& band) {
    forms::Form& form = band.form;
    activatePage(form, "ptable");
    IHTMLElement* table = band.selected.get();
    for (const Field& field : kTableReads)
        form[field.control].setText(attributeText(table, field.attribute));
    std::string background = trimmed(attributeText(table, "bgColor"));
    std::string border = trimmed(attributeText(table, "bordercolor"));
    form["TBorderColor"].setText(border);
    form["Tcouleur"].setText(background);
    // Shown only: reading a table must not write it back.
    forms::ColorValue color = 0;
    if (!background.empty() && HTMLToColor(background, color))
        form["tbackground"].setColor(color);
}

void imageproperties(BandParts& band) {
    forms::Form& form = band.form;
    activatePage(form, "pimage");
    IHTMLElement* image = band.selected.get();
    for (const Field& field : kImageReads)
        form[field.control].setText(attributeText(image, field.attribute));
    // The selected picture may be replaced from the aligned-image menu.
    form["ToolButton11"].setEnabled(true);
    if (band.pumpMessages)
        band.pumpMessages();
}

void TWidthExit(BandParts& band) {
    ComPtr<IHTMLElement> table = selectedObject(band.browser, "table");
    if (!table)
        return;
    for (const Field& field : kTableFields) {
        const std::string& text = band.form[field.control].text();
        // An emptied field takes the attribute away: an empty background
        // would make the engine load the page itself as the picture.
        setAttributeOf(table.get(), field.attribute,
                       trimmed(text).empty() ? browser::Value() : browser::Value(text));
    }
}

void isrcExit(BandParts& band) {
    ComPtr<IHTMLDocument2> document = currentDocument(band.browser);
    ComPtr<IUnknown> range = createRange(document.get());
    if (!range.query<IHTMLControlRange>())
        return;
    ComPtr<IHTMLElement> object = rangeElement(range.get());
    std::string tag;
    check(object->get_tagName(&tag));
    band.form["StatusBar1"].setPanelText(0, tag);
    if (tagOf(object.get()) != "img")
        return;
    forms::Form& form = band.form;
    auto blank = [&](const char* control) { return trimmed(form[control].text()).empty(); };
    IHTMLElement* image = object.get();
    setAttributeOf(image, "src", form["isrc"].text());
    setAttributeOf(image, "alt", form["ialt"].text());
    setAttributeOf(image, "vspace", form["ivspace"].text());
    setAttributeOf(image, "hspace", form["ihspace"].text());
    setAttributeOf(image, "border", blank("iborder") ? "0" : form["iborder"].text());
    setAttributeOf(image, "width",
                   blank("iwidth") ? browser::Value() : browser::Value(form["iwidth"].text()));
    setAttributeOf(image, "height",
                   blank("iheight") ? browser::Value() : browser::Value(form["iheight"].text()));
}

} // namespace tools
