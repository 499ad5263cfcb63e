#include "platform/webkit/RelatedViewFactory.h"

#include "platform/webkit/WebKitBrowser.h"

#include <webkit2/webkit2.h>

namespace webkit {

RelatedViewFactory::RelatedViewFactory(WebKitWebView* page) : m_page(page) {
    g_object_ref(m_page);
}

RelatedViewFactory::~RelatedViewFactory() {
    g_object_unref(m_page);
}

browser::EmbeddedBrowser RelatedViewFactory::create() {
    // Only "related-view": webkit_web_view_new_with_related_view would also
    // share the page's user content manager, and with it the page's editing
    // layer messages.
    // Made with the page's settings copied, not shared: one web process
    // serves pages of one compositing mode.
    WebKitSettings* settings = webkit_settings_new();
    g_object_set(
        settings, "hardware-acceleration-policy",
        webkit_settings_get_hardware_acceleration_policy(webkit_web_view_get_settings(m_page)),
        nullptr);
    auto* view = WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", m_page, "settings", settings, nullptr));
    g_object_unref(settings);
    browser::EmbeddedBrowser made;
    made.browser = ComPtr<IWebBrowser2>(WebKitBrowser::create(view).get());
    made.widget = view;
    return made;
}

} // namespace webkit
