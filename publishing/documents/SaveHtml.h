#pragma once

#include <string>

struct IWebBrowser2;

namespace documents {

// The markup to publish for a document: its document type declaration, when
// it has one, then its html element, with CR LF line ends, in UTF-8. A
// charset that the page declares is made "utf-8", so that the text is read
// back as it was written; a page with non-ASCII text and no declaration
// gets one at the start of its head.
std::string publishedMarkup(const std::string& doctype, const std::string& htmlElement);

// Writes the document the browser shows to path, as publishedMarkup.
void saveHTML(IWebBrowser2* browser, const std::string& path);

} // namespace documents
