#pragma once

// The document, element, collection, selection, range and event objects of
// a WebKitBrowser. Each holds the token of the page it was made for, so a
// call after the browser has moved on fails instead of reaching another page.

#include "platform/webkit/WebKitBrowser.h"

namespace webkit {

ComPtr<IHTMLDocument2> MakeDocument(WebKitBrowser* browser, const std::string& token);
// An element object for an answer holding one; null for a null answer.
IHTMLElement* MakeElement(WebKitBrowser* browser, const std::string& token, const Answer& answer);
IHTMLEventObj* MakeEvent(WebKitBrowser* browser, const std::string& token, const std::string& type,
                         const Answer& source);

} // namespace webkit
