#pragma once

#include "platform/browser/DocumentSnapshot.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/browser/WebBrowser.h"

#include <stdexcept>
#include <string>
#include <vector>

// The small part of the browser that the editing tools call, with failures
// turned into errors that carry the browser's own reason.
namespace tools {

class BrowserCallError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws BrowserCallError when hr is a failure.
void check(HRESULT hr);

// The document the browser shows now, asked afresh at each call. Throws when
// the browser has none.
ComPtr<IHTMLDocument2> currentDocument(IWebBrowser2* browser);

std::string locationURL(IWebBrowser2* browser);

// The selection's state in the document the browser shows, with the values
// of `commands`: one call into the page at most.
browser::DocumentSnapshot takeSnapshot(IWebBrowser2* browser,
                                       const std::vector<std::string>& commands);

// Remembers the page's selection, and puts it back (see IHTMLDocumentSnapshot).
void saveSelection(IWebBrowser2* browser);
void restoreSelection(IWebBrowser2* browser);

} // namespace tools
