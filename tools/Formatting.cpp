#include "tools/Formatting.h"

#include "platform/browser/ErrorInfo.h"
#include "platform/browser/HtmlDocument.h"
#include "tools/BrowserCalls.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace tools {

namespace {

browser::Value valueOf(CommandValue value) {
    switch (value) {
    case CommandValue::True:
        return true;
    case CommandValue::False:
        return false;
    case CommandValue::Empty:
        break;
    }
    return {};
}

const browser::Value& query(const browser::DocumentSnapshot& state, const char* command) {
    static const browser::Value none;
    if (auto failed = state.errors.find(command); failed != state.errors.end())
        throw BrowserCallError(failed->second);
    auto found = state.values.find(command);
    return found == state.values.end() ? none : found->second;
}

bool toBoolean(const browser::Value& value) {
    if (value.isBool())
        return value.asBool();
    if (value.isNumber())
        return value.asNumber() != 0;
    if (value.isText()) {
        std::string text = value.asText();
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (text == "true")
            return true;
        if (text == "false")
            return false;
    }
    throw BrowserCallError("Could not convert variant to Boolean");
}

// Decimal digits, or hexadecimal after "$", with an optional sign.
forms::ColorValue readNumber(std::string text) {
    bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.erase(0, 1);
    int base = 10;
    if (!text.empty() && text[0] == '$') {
        base = 16;
        text.erase(0, 1);
    }
    bool valid = !text.empty() && std::all_of(text.begin(), text.end(), [base](char c) {
        return base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                          : std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
    if (!valid || text.size() > 10)
        throw BrowserCallError("'" + text + "' is not a valid integer value");
    long long v = std::strtoll(text.c_str(), nullptr, base);
    return static_cast<forms::ColorValue>(negative ? -v : v);
}

void showInCombo(forms::Control& combo, const browser::Value& value) {
    if (value.isNull())
        return;
    std::string text = value.toText();
    combo.setText(text);
    if (combo.indexOfItem(text) < 0)
        combo.addItem(text);
}

void showColor(const browser::DocumentSnapshot& state, forms::Control& picker) {
    try {
        const browser::Value& value = query(state, "ForeColor");
        if (value.isNull())
            return;
        std::string text = value.toText();
        std::replace(text.begin(), text.end(), '#', '$');
        // Shown only: the picker's change event belongs to the user, so
        // reading the selection never writes a color back into the page.
        picker.setColor(readNumber(text));
    } catch (const std::exception&) {
        // A color the page names in a way that reads as no number (a
        // keyword, say) is not shown; the rest of the refresh goes on.
    }
}

void climbToLink(ComPtr<IHTMLElement>& selected) {
    if (!selected)
        throw BrowserCallError("No element is selected");
    browser::Value href;
    check(selected->getAttribute("href", 0, &href));
    if (!href.isNull())
        return;
    ComPtr<IHTMLElement> parent;
    check(selected->get_parentElement(parent.put()));
    selected = parent;
    if (selected)
        check(selected->getAttribute("href", 0, &href));
}

// Climbs as climbToLink does, reading the snapshot where selected is one of
// its ancestors.
void climbToLink(const browser::DocumentSnapshot& state, ComPtr<IHTMLElement>& selected) {
    const auto& chain = state.ancestors;
    for (size_t i = 0; i < chain.size(); ++i) {
        if (chain[i].element.get() != selected.get())
            continue;
        if (chain[i].href.isNull())
            selected = i + 1 < chain.size() ? chain[i + 1].element : nullptr;
        return;
    }
    climbToLink(selected);
}

void showState(const browser::DocumentSnapshot& state, forms::Form& form) {
    form["btnBold"].setDown(toBoolean(query(state, "Bold")));
    form["btnItalic"].setDown(toBoolean(query(state, "Italic")));
    form["btnUnderline"].setDown(toBoolean(query(state, "Underline")));
    showInCombo(form["cmbFontName"], query(state, "FontName"));
    showInCombo(form["cmbFontSize"], query(state, "fontsize"));
    showColor(state, form["cmdcolor"]);
}

} // namespace

const std::vector<ToolCommand>& toolCommands() {
    using V = CommandValue;
    // The indentation buttons send what their hints say: "Outdent" moves the
    // paragraph back out, "Indent" moves it in.
    static const std::vector<ToolCommand> commands = {
        {"btnBold", "Bold", true, V::True},
        {"btnItalic", "Italic", true, V::True},
        {"btnUnderline", "Underline", true, V::True},
        {"btnAlignLeft", "JustifyLeft", true, V::True},
        {"btnAlignCenter", "JustifyCenter", true, V::True},
        {"btnAlignRight", "JustifyRight", true, V::True},
        {"ToolButton70", "RemoveFormat", true, V::True},
        {"btnNumberedList", "InsertOrderedList", true, V::True},
        {"btnBulletedList", "InsertUnorderedList", true, V::Empty},
        {"btnIndentLeft", "Outdent", true, V::Empty},
        {"btnIndentRight", "Indent", true, V::Empty},
        {"ToolButton28", "InsertHorizontalRule", true, V::Empty},
        {"btnPrint", "print", true, V::Empty},
        {"btnCut", "Cut", true, V::True},
        {"btnCopy", "Copy", true, V::True},
        {"btnPaste", "Paste", true, V::True},
        {"btnUndo", "Undo", true, V::True},
        {"btnRedo", "Redo", true, V::True},
        {"ToolButton35", "AbsolutePosition", false, V::True},
        {"ToolButton19", "AbsolutePosition", false, V::False},
    };
    return commands;
}

void sendCommand(IWebBrowser2* browser, const std::string& command, bool showUI,
                 const browser::Value& value) {
    ComPtr<IHTMLDocument2> document = currentDocument(browser);
    BOOL done = FALSE;
    check(document->execCommand(command.c_str(), showUI ? TRUE : FALSE, value, &done));
}

void sendCommand(IWebBrowser2* browser, const ToolCommand& command) {
    sendCommand(browser, command.command, command.showUI, valueOf(command.value));
}

void pasteHTML(IWebBrowser2* browser, const std::string& html) {
    ComPtr<IHTMLDocument2> document = currentDocument(browser);
    ComPtr<IHTMLSelectionObject> selection;
    check(document->get_selection(selection.put()));
    if (!selection)
        throw BrowserCallError("The document has no selection");
    ComPtr<IUnknown> range;
    check(selection->createRange(range.put()));
    auto text = range.query<IHTMLTxtRange>();
    if (!text)
        throw BrowserCallError("Object doesn't support this property or method");
    check(text->pasteHTML(html.c_str()));
}

const std::vector<std::string>& toolbarCommands() {
    static const std::vector<std::string> commands = {"Bold",     "Italic",   "Underline",
                                                      "FontName", "fontsize", "ForeColor"};
    return commands;
}

void DHTMLEditDisplayChanged(IWebBrowser2* browser, forms::Form& form,
                             ComPtr<IHTMLElement>& selected) {
    try {
        browser::DocumentSnapshot state = takeSnapshot(browser, toolbarCommands());
        showState(state, form);
        climbToLink(selected);
    } catch (const std::exception&) {
        // The refresh follows every click: a page that cannot answer (it is
        // loading, or has gone) leaves the toolbar as it was rather than
        // interrupt the user with a box.
    }
}

void DHTMLEditDisplayChanged(const browser::DocumentSnapshot& state, forms::Form& form,
                             ComPtr<IHTMLElement>& selected) {
    try {
        showState(state, form);
        climbToLink(state, selected);
    } catch (const std::exception&) {
        // As above: the toolbar keeps what it showed.
    }
}

} // namespace tools
