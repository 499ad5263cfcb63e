#pragma once

#include "BarCatalog.h"
#include "HostedBar.h"

#include <functional>
#include <gtk/gtk.h>
#include <memory>
#include <string>
#include <vector>

struct IWebBrowser2;
typedef struct _WebKitWebView WebKitWebView;

namespace gtkplatform {
class GtkWindowBackend;
}
namespace browser {
class BrowserFactory;
}

namespace host {

// The browser window: navigation buttons, an address entry, the web view and
// the bar area, with the registered bars in its View menu.
class HostWindow {
public:
    HostWindow(gtkplatform::GtkWindowBackend& backend, const std::vector<RegisteredBar>& bars);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    GtkWidget* widget() const { return m_window; }
    WebKitWebView* webView() const { return m_webView; }
    IWebBrowser2* browser() const { return m_browser.get(); }

    void navigate(const std::string& address);
    // Shows or hides a registered bar; showing loads it the first time.
    void setBarVisible(size_t index, bool visible);
    HostedBar* bar(size_t index) const;
    size_t barCount() const { return m_bars.size(); }
    // Runs once the window has closed.
    void setOnClosed(std::function<void()> handler) { m_onClosed = std::move(handler); }

    // Closes every bar (CloseDW, release, unload) and the window.
    void close();

private:
    struct BarEntry {
        RegisteredBar description;
        std::unique_ptr<HostedBar> hosted;
        GtkWidget* menuItem = nullptr;
        bool active = false; // holds the focus
    };

    GtkWidget* buildMenuBar();
    GtkWidget* buildToolbar();
    void buildViews(GtkWidget* box);
    void closeBars();
    void updateNavigationButtons();
    bool forwardKeyToBar(GdkEventKey* event);
    void activateBarsAround(GtkWidget* focus);

    static void onBarToggled(GtkCheckMenuItem* item, gpointer self);
    static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer self);
    static void onFocusMoved(GtkWindow*, GtkWidget* focus, gpointer self);
    static gboolean onKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
    static void onUriChanged(GObject*, GParamSpec*, gpointer self);

    gtkplatform::GtkWindowBackend& m_backend;
    GtkWidget* m_window = nullptr;
    GtkWidget* m_address = nullptr;
    GtkWidget* m_back = nullptr;
    GtkWidget* m_forward = nullptr;
    GtkWidget* m_barArea = nullptr;
    WebKitWebView* m_webView = nullptr;
    HWND m_frameHandle = nullptr;
    HWND m_barAreaHandle = nullptr;
    ComPtr<IWebBrowser2> m_browser;
    // Makes the bars' small browsers share the page view's web process.
    std::unique_ptr<browser::BrowserFactory> m_viewFactory;
    std::vector<BarEntry> m_bars;
    std::function<void()> m_onClosed;
    bool m_closed = false;
};

} // namespace host
