#include "tools/SelectionPanels.h"

#include "platform/browser/DocumentSnapshot.h"
#include "tools/BrowserCalls.h"
#include "tools/Colors.h"
#include "tools/ElementCalls.h"
#include "tools/Formatting.h"
#include "tools/Links.h"

#include <utility>
#include <vector>

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
const std::vector<Field> kTableReads = {
    {"tborder", "border"},   {"Tcellspad", "cellpadding"},    {"TcellSpa", "cellspacing"},
    {"TWidth", "width"},     {"Theight", "height"},           {"TBGImage", "background"},
    {"Tcouleur", "bgColor"}, {"TBorderColor", "bordercolor"},
};

const std::vector<Field> kImageReads = {
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

// The link among the ancestors from index first on, up to the child of the
// body.
ComPtr<IHTMLElement> linkIn(const std::vector<browser::SnapshotElement>& ancestors, size_t first) {
    for (size_t i = first; i < ancestors.size(); ++i) {
        if (ancestors[i].tag == "A")
            return ancestors[i].element;
        if (i + 1 >= ancestors.size() || ancestors[i + 1].tag == "BODY" ||
            ancestors[i + 1].tag == "HTML")
            return nullptr;
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
        // One snapshot of the selection serves the whole dispatch: the link
        // around it, the panel to show and the toolbar's states.
        browser::DocumentSnapshot state = takeSnapshot(band.browser, toolbarCommands());
        trace(band, "brow");
        if (state.ancestors.empty())
            return;
        bool object = state.selectionType == "Control";
        // A caret is where the user inserts next, and a caret in a link is
        // in that link as much as a selection is.
        setInsertionTools(band.form, !object);
        trace(band, object ? "browcontrol" : "browtexte");
        ComPtr<IHTMLElement> link = linkIn(state.ancestors, object ? 1 : 0);
        trace(band, "browici");
        showLinkStatus(band, link.get());
        if (object) {
            showObjectPanel(band, state.ancestors.front().element);
            return;
        }
        band.form["PageControl1"].setActivePage("pgeneral");
        showPages(band.form, true, false, false);
        // A caret or selection right inside a table cell keeps the element
        // the tools work on.
        if (state.ancestors.front().tag == "TD")
            return;
        band.selected = state.ancestors.front().element;
        DHTMLEditDisplayChanged(state, band.form, band.selected);
    } catch (const std::exception&) {
    }
}

namespace {

// Each field takes the text of its attribute, read all at once.
void fill(forms::Form& form, IHTMLElement* element, const std::vector<Field>& fields) {
    std::vector<std::string> names;
    for (const Field& field : fields)
        names.push_back(field.attribute);
    std::vector<std::string> texts = attributeTexts(element, names);
    for (size_t i = 0; i < fields.size(); ++i)
        form[fields[i].control].setText(texts[i]);
}

} // namespace

void tableproperties(BandParts& band) {
    forms::Form& form = band.form;
    activatePage(form, "ptable");
    fill(form, band.selected.get(), kTableReads);
    // Colors are shown trimmed.
    form["TBorderColor"].setText(trimmed(form["TBorderColor"].text()));
    std::string background = trimmed(form["Tcouleur"].text());
    form["Tcouleur"].setText(background);
    // Shown only: reading a table must not write it back.
    forms::ColorValue color = 0;
    if (!background.empty() && HTMLToColor(background, color))
        form["tbackground"].setColor(color);
}

void imageproperties(BandParts& band) {
    forms::Form& form = band.form;
    activatePage(form, "pimage");
    fill(form, band.selected.get(), kImageReads);
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
