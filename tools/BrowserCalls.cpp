#include "tools/BrowserCalls.h"

#include "platform/browser/ErrorInfo.h"

namespace tools {

void check(HRESULT hr) {
    if (SUCCEEDED(hr))
        return;
    std::string reason = browser::LastError();
    throw BrowserCallError(reason.empty() ? "The browser call failed" : reason);
}

ComPtr<IHTMLDocument2> currentDocument(IWebBrowser2* browser) {
    if (!browser)
        throw BrowserCallError("No browser is attached to the bar");
    browser::SetLastError("");
    ComPtr<IHTMLDocument2> document;
    check(browser->get_Document(document.put()));
    if (!document)
        throw BrowserCallError("The browser shows no document");
    return document;
}

browser::DocumentSnapshot takeSnapshot(IWebBrowser2* browser,
                                       const std::vector<std::string>& commands) {
    ComPtr<IHTMLDocument2> document = currentDocument(browser);
    auto reader = document.query<IHTMLDocumentSnapshot>();
    if (!reader)
        throw BrowserCallError("The document cannot read its selection's state");
    browser::DocumentSnapshot snapshot;
    check(reader->takeSnapshot(commands, &snapshot));
    return snapshot;
}

namespace {
ComPtr<IHTMLDocumentSnapshot> selectionKeeper(IWebBrowser2* browser) {
    auto keeper = currentDocument(browser).query<IHTMLDocumentSnapshot>();
    if (!keeper)
        throw BrowserCallError("The document cannot keep its selection");
    return keeper;
}
} // namespace

void saveSelection(IWebBrowser2* browser) {
    check(selectionKeeper(browser)->saveSelection());
}

void restoreSelection(IWebBrowser2* browser) {
    check(selectionKeeper(browser)->restoreSelection());
}

std::string locationURL(IWebBrowser2* browser) {
    if (!browser)
        throw BrowserCallError("No browser is attached to the bar");
    browser::SetLastError("");
    std::string url;
    check(browser->get_LocationURL(&url));
    return url;
}

} // namespace tools
