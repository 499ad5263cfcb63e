#include "tools/Links.h"

#include "connections/TextOps.h"
#include "tools/BrowserCalls.h"
#include "tools/ElementCalls.h"
#include "tools/Formatting.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tools {

namespace {

void setTarget(IHTMLElement* link, std::string target) {
    if (connections::text::lowerCase(target) == "default")
        target.clear();
    setAttributeOf(link, "target", target);
}

} // namespace

void creerlien(IWebBrowser2* browser, const std::string& address, std::string target,
               ComPtr<IUnknown>& clickRange) {
    ComPtr<IHTMLDocument2> document = currentDocument(browser);
    clickRange = createRange(document.get());
    sendCommand(browser, "createlink", false, address);
    if (selectionType(document.get()) == "Control") {
        // The editor wraps the object in the new link; anything else around
        // it is left without a target.
        ComPtr<IHTMLElement> link = parentOf(rangeElement(clickRange.get()).get());
        if (tagOf(link.get()) == "a")
            setTarget(link.get(), target);
        return;
    }
    ComPtr<IHTMLElement> parent = rangeElement(createRange(document.get()).get());
    if (tagOf(parent.get()) == "a")
        setTarget(parent.get(), target);
}

void removeLink(IWebBrowser2* browser) {
    sendCommand(browser, "Unlink", true, true);
    sendCommand(browser, "RemoveFormat", true, true);
}

std::string mailtoAddress(const std::string& address, const std::string& subject) {
    std::string escaped;
    for (char c : subject) {
        if (c == '&' || c == '#' || c == '?' || c == '%') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return "mailto:" + address + "?subject=" + escaped;
}

} // namespace tools
