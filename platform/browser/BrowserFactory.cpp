#include "platform/browser/BrowserFactory.h"

namespace browser {

namespace {
BrowserFactory* installed = nullptr;
}

void setBrowserFactory(BrowserFactory* factory) {
    installed = factory;
}

BrowserFactory* browserFactory() {
    return installed;
}

} // namespace browser
