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

std::string locationURL(IWebBrowser2* browser) {
    if (!browser)
        throw BrowserCallError("No browser is attached to the bar");
    browser::SetLastError("");
    std::string url;
    check(browser->get_LocationURL(&url));
    return url;
}

} // namespace tools
