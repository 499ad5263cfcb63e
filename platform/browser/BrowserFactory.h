#pragma once

// Where the forms get their small embedded browsers. The program installs a
// factory whose views share the web process of its own page view, so that a
// browser on a form costs a view, not a process; without a factory the
// forms have no working browser.

#include "platform/browser/WebBrowser.h"

namespace browser {

struct EmbeddedBrowser {
    ComPtr<IWebBrowser2> browser;
    void* widget = nullptr; // the toolkit's view, owned by whoever packs it
};

class BrowserFactory {
public:
    virtual ~BrowserFactory() = default;
    virtual EmbeddedBrowser create() = 0;
};

// Installs the factory (not owned); nullptr removes it.
void setBrowserFactory(BrowserFactory* factory);
BrowserFactory* browserFactory();

} // namespace browser
