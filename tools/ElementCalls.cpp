#include "tools/ElementCalls.h"

#include "tools/BrowserCalls.h"

#include <algorithm>
#include <cctype>

namespace tools {

ComPtr<IHTMLSelectionObject> selectionOf(IHTMLDocument2* document) {
    ComPtr<IHTMLSelectionObject> selection;
    check(document->get_selection(selection.put()));
    if (!selection)
        throw BrowserCallError("The document has no selection");
    return selection;
}

std::string selectionType(IHTMLDocument2* document) {
    ComPtr<IHTMLSelectionObject> selection = selectionOf(document);
    std::string type;
    check(selection->get_type(&type));
    return type;
}

ComPtr<IUnknown> createRange(IHTMLDocument2* document) {
    ComPtr<IHTMLSelectionObject> selection = selectionOf(document);
    ComPtr<IUnknown> range;
    check(selection->createRange(range.put()));
    return range;
}

ComPtr<IHTMLElement> rangeElement(IUnknown* range) {
    ComPtr<IHTMLElement> element;
    ComPtr<IUnknown> held(range);
    if (auto control = held.query<IHTMLControlRange>())
        check(control->commonParentElement(element.put()));
    else if (auto text = held.query<IHTMLTxtRange>())
        check(text->parentElement(element.put()));
    else
        throw BrowserCallError("The selection has no range");
    return element;
}

std::string tagOf(IHTMLElement* element) {
    if (!element)
        return "";
    std::string tag;
    check(element->get_tagName(&tag));
    std::transform(tag.begin(), tag.end(), tag.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tag;
}

ComPtr<IHTMLElement> parentOf(IHTMLElement* element) {
    if (!element)
        throw BrowserCallError("Object required");
    ComPtr<IHTMLElement> parent;
    check(element->get_parentElement(parent.put()));
    return parent;
}

browser::Value attributeOf(IHTMLElement* element, const char* name) {
    if (!element)
        throw BrowserCallError("Object required");
    browser::Value value;
    check(element->getAttribute(name, 0, &value));
    return value;
}

std::string attributeText(IHTMLElement* element, const char* name) {
    return attributeOf(element, name).toText();
}

void setAttributeOf(IHTMLElement* element, const char* name, const browser::Value& value) {
    if (!element)
        throw BrowserCallError("Object required");
    check(element->setAttribute(name, value, 0));
}

std::string outerHtmlOf(IHTMLElement* element) {
    if (!element)
        throw BrowserCallError("Object required");
    std::string html;
    check(element->get_outerHTML(&html));
    return html;
}

} // namespace tools
