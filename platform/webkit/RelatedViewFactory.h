#pragma once

// Makes web views related to one page view: they share its web process
// instead of starting one each. Each has its own settings and user content
// manager, so that each browser object keeps its own editing layer and
// messages.

#include "platform/browser/BrowserFactory.h"

typedef struct _WebKitWebView WebKitWebView;

namespace webkit {

class RelatedViewFactory final : public browser::BrowserFactory {
public:
    explicit RelatedViewFactory(WebKitWebView* page);
    ~RelatedViewFactory() override;
    RelatedViewFactory(const RelatedViewFactory&) = delete;
    RelatedViewFactory& operator=(const RelatedViewFactory&) = delete;

    browser::EmbeddedBrowser create() override;

private:
    WebKitWebView* m_page;
};

} // namespace webkit
