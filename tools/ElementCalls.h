#pragma once

#include "platform/browser/HtmlDocument.h"
#include "platform/browser/Value.h"

#include <string>

// Short forms of the document calls the selection, image and link tools
// make; each failure becomes a BrowserCallError.
namespace tools {

// The document's selection; never null.
ComPtr<IHTMLSelectionObject> selectionOf(IHTMLDocument2* document);
// "None", "Text" or "Control".
std::string selectionType(IHTMLDocument2* document);
// A text range or a control range, by the selection's type.
ComPtr<IUnknown> createRange(IHTMLDocument2* document);
// The innermost element of a text range, or the object of a control range.
ComPtr<IHTMLElement> rangeElement(IUnknown* range);

// The tag name in lower case; "" for a null element.
std::string tagOf(IHTMLElement* element);
// Null for the html element.
ComPtr<IHTMLElement> parentOf(IHTMLElement* element);
browser::Value attributeOf(IHTMLElement* element, const char* name);
// The attribute's text; "" when it is absent.
std::string attributeText(IHTMLElement* element, const char* name);
// A null value removes the attribute.
void setAttributeOf(IHTMLElement* element, const char* name, const browser::Value& value);
std::string outerHtmlOf(IHTMLElement* element);

} // namespace tools
