#include "HostWindow.h"

#include "Address.h"
#include "VirtualKeys.h"
#include "platform/browser/WebBrowser.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "platform/webkit/RelatedViewFactory.h"
#include "platform/webkit/WebKitBrowser.h"
#include "platform/window/Application.h"

#include <webkit2/webkit2.h>

namespace host {

namespace {

GtkWidget* iconButton(const char* icon, const char* tooltip) {
    GtkWidget* button = gtk_button_new_from_icon_name(icon, GTK_ICON_SIZE_SMALL_TOOLBAR);
    gtk_widget_set_tooltip_text(button, tooltip);
    gtk_button_set_relief(GTK_BUTTON(button), GTK_RELIEF_NONE);
    return button;
}

template <typename F> void onClicked(GtkWidget* button, F* callback, gpointer data) {
    g_signal_connect_swapped(button, "clicked", G_CALLBACK(callback), data);
}

bool isInside(GtkWidget* widget, GtkWidget* ancestor) {
    return widget && ancestor && (widget == ancestor || gtk_widget_is_ancestor(widget, ancestor));
}

} // namespace

HostWindow::HostWindow(gtkplatform::GtkWindowBackend& backend,
                       const std::vector<RegisteredBar>& bars)
    : m_backend(backend) {
    m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(m_window), "Tavrisk");
    gtk_window_set_default_size(GTK_WINDOW(m_window), 1100, 800);
    m_frameHandle = m_backend.adopt(m_window, {"IEFrame", "Tavrisk", nullptr, 1100, 800});

    for (const RegisteredBar& bar : bars)
        m_bars.push_back({bar, nullptr, nullptr});

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(m_window), box);
    gtk_box_pack_start(GTK_BOX(box), buildMenuBar(), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), buildToolbar(), FALSE, FALSE, 0);
    buildViews(box);

    g_signal_connect(m_window, "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(m_window, "key-press-event", G_CALLBACK(onKeyPress), this);
    g_signal_connect_after(m_window, "set-focus", G_CALLBACK(onFocusMoved), this);
    gtk_widget_show_all(m_window);
}

HostWindow::~HostWindow() {
    close();
}

GtkWidget* HostWindow::buildMenuBar() {
    GtkWidget* menuBar = gtk_menu_bar_new();
    GtkWidget* view = gtk_menu_item_new_with_mnemonic("_View");
    GtkWidget* menu = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(view), menu);
    GtkWidget* toolbars = gtk_menu_item_new_with_mnemonic("_Toolbars");
    GtkWidget* barsMenu = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(toolbars), barsMenu);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), toolbars);
    for (BarEntry& entry : m_bars) {
        entry.menuItem =
            gtk_check_menu_item_new_with_mnemonic(mnemonicLabel(entry.description.caption).c_str());
        g_signal_connect(entry.menuItem, "toggled", G_CALLBACK(onBarToggled), this);
        gtk_menu_shell_append(GTK_MENU_SHELL(barsMenu), entry.menuItem);
    }
    if (m_bars.empty()) {
        GtkWidget* none = gtk_menu_item_new_with_label("No bar registered");
        gtk_widget_set_sensitive(none, FALSE);
        gtk_menu_shell_append(GTK_MENU_SHELL(barsMenu), none);
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(menuBar), view);
    return menuBar;
}

GtkWidget* HostWindow::buildToolbar() {
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2);
    gtk_container_set_border_width(GTK_CONTAINER(row), 2);
    m_back = iconButton("go-previous-symbolic", "Back");
    m_forward = iconButton("go-next-symbolic", "Forward");
    GtkWidget* reload = iconButton("view-refresh-symbolic", "Reload");
    GtkWidget* stop = iconButton("process-stop-symbolic", "Stop");
    m_address = gtk_entry_new();
    gtk_entry_set_placeholder_text(GTK_ENTRY(m_address), "Address");
    for (GtkWidget* button : {m_back, m_forward, reload, stop})
        gtk_box_pack_start(GTK_BOX(row), button, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(row), m_address, TRUE, TRUE, 0);

    onClicked(
        m_back, +[](HostWindow* self) { webkit_web_view_go_back(self->m_webView); }, this);
    onClicked(
        m_forward, +[](HostWindow* self) { webkit_web_view_go_forward(self->m_webView); }, this);
    onClicked(
        reload, +[](HostWindow* self) { webkit_web_view_reload(self->m_webView); }, this);
    onClicked(
        stop, +[](HostWindow* self) { webkit_web_view_stop_loading(self->m_webView); }, this);
    g_signal_connect_swapped(m_address, "activate", G_CALLBACK(+[](HostWindow* self) {
                                 self->navigate(gtk_entry_get_text(GTK_ENTRY(self->m_address)));
                             }),
                             this);
    return row;
}

void HostWindow::buildViews(GtkWidget* box) {
    // The document view and the web view inside it carry the window classes
    // a bar looks for.
    GtkWidget* documentView = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(box), documentView, TRUE, TRUE, 0);
    HWND viewHandle =
        m_backend.adopt(documentView, {"Shell DocObject View", "", m_frameHandle, 0, 0});
    // An editor shows one page at a time and reloads what it publishes: the
    // engine need not keep earlier pages and resources in memory.
    webkit_web_context_set_cache_model(webkit_web_context_get_default(),
                                       WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
    m_webView = WEBKIT_WEB_VIEW(webkit_web_view_new());
    gtk_box_pack_start(GTK_BOX(documentView), GTK_WIDGET(m_webView), TRUE, TRUE, 0);
    m_backend.adopt(GTK_WIDGET(m_webView), {"Internet Explorer_Server", "", viewHandle, 0, 0});
    g_signal_connect(m_webView, "notify::uri", G_CALLBACK(onUriChanged), this);
    m_browser = ComPtr<IWebBrowser2>(webkit::WebKitBrowser::create(m_webView).get());
    m_viewFactory = std::make_unique<webkit::RelatedViewFactory>(m_webView);
    browser::setBrowserFactory(m_viewFactory.get());

    m_barArea = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(box), m_barArea, FALSE, FALSE, 0);
    m_barAreaHandle = m_backend.adopt(m_barArea, {"ReBarWindow32", "", m_frameHandle, 0, 0});
    updateNavigationButtons();
}

void HostWindow::navigate(const std::string& input) {
    std::string address = addressFromInput(input);
    if (!address.empty())
        webkit_web_view_load_uri(m_webView, address.c_str());
}

HostedBar* HostWindow::bar(size_t index) const {
    return index < m_bars.size() ? m_bars[index].hosted.get() : nullptr;
}

void HostWindow::setBarVisible(size_t index, bool visible) {
    if (index >= m_bars.size())
        return;
    BarEntry& entry = m_bars[index];
    if (visible && !entry.hosted) {
        try {
            entry.hosted = std::make_unique<HostedBar>(entry.description, m_barAreaHandle,
                                                       m_browser.get(), [](IUnknown*, bool) {});
        } catch (const std::exception& error) {
            app::ShowException(error);
            visible = false;
        }
    }
    if (entry.hosted) {
        if (GtkWidget* barWidget = gtkplatform::GtkWindowBackend::widget(entry.hosted->window())) {
            gtk_widget_set_size_request(barWidget, -1, entry.hosted->preferredHeight());
            gtk_widget_set_visible(barWidget, visible);
        }
        // Hiding keeps the bar alive, as a browser does.
        entry.hosted->show(visible);
    }
    if (entry.menuItem &&
        gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(entry.menuItem)) != visible) {
        g_signal_handlers_block_by_func(entry.menuItem, (gpointer)onBarToggled, this);
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(entry.menuItem), visible);
        g_signal_handlers_unblock_by_func(entry.menuItem, (gpointer)onBarToggled, this);
    }
}

void HostWindow::closeBars() {
    for (BarEntry& entry : m_bars) {
        if (entry.hosted)
            entry.hosted->close();
    }
}

void HostWindow::close() {
    if (m_closed)
        return;
    m_closed = true;
    closeBars();
    if (browser::browserFactory() == m_viewFactory.get())
        browser::setBrowserFactory(nullptr);
    // The browser may hold objects of a bar (its document's event sinks):
    // release it, then let the bars' modules go.
    m_browser = nullptr;
    for (BarEntry& entry : m_bars) {
        if (entry.hosted)
            entry.hosted->unloadIfPossible();
    }
    win::DestroyWindow(m_frameHandle);
    gtk_widget_destroy(m_window);
    if (m_onClosed)
        m_onClosed();
}

void HostWindow::updateNavigationButtons() {
    gtk_widget_set_sensitive(m_back, webkit_web_view_can_go_back(m_webView));
    gtk_widget_set_sensitive(m_forward, webkit_web_view_can_go_forward(m_webView));
}

bool HostWindow::forwardKeyToBar(GdkEventKey* event) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(m_window));
    for (BarEntry& entry : m_bars) {
        if (!entry.hosted ||
            !isInside(focus, gtkplatform::GtkWindowBackend::widget(entry.hosted->window())))
            continue;
        uint32_t key = virtualKeyFor(event->keyval);
        if (key == 0)
            continue;
        MSG message;
        message.hwnd = entry.hosted->window();
        message.message = WM_KEYDOWN;
        message.wParam = key;
        message.time = event->time;
        entry.hosted->translateKey(message);
    }
    // The toolkit delivers keys to the focused control itself, whatever the
    // bar answered; Tab and Delete keep their usual meaning in the window.
    return false;
}

// A bar is told when the focus enters it and when it leaves, as a browser
// tells its bars; a move between the controls of one bar changes nothing.
void HostWindow::activateBarsAround(GtkWidget* focus) {
    if (m_closed)
        return;
    for (BarEntry& entry : m_bars) {
        if (!entry.hosted)
            continue;
        bool inside =
            isInside(focus, gtkplatform::GtkWindowBackend::widget(entry.hosted->window()));
        if (inside == entry.active)
            continue;
        entry.active = inside;
        entry.hosted->activate(inside);
    }
}

void HostWindow::onBarToggled(GtkCheckMenuItem* item, gpointer data) {
    auto* self = static_cast<HostWindow*>(data);
    for (size_t i = 0; i < self->m_bars.size(); ++i) {
        if (self->m_bars[i].menuItem == GTK_WIDGET(item))
            self->setBarVisible(i, gtk_check_menu_item_get_active(item));
    }
}

gboolean HostWindow::onDelete(GtkWidget*, GdkEvent*, gpointer data) {
    static_cast<HostWindow*>(data)->close();
    return TRUE;
}

void HostWindow::onFocusMoved(GtkWindow*, GtkWidget* focus, gpointer data) {
    static_cast<HostWindow*>(data)->activateBarsAround(focus);
}

gboolean HostWindow::onKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
    return static_cast<HostWindow*>(data)->forwardKeyToBar(event);
}

void HostWindow::onUriChanged(GObject*, GParamSpec*, gpointer data) {
    auto* self = static_cast<HostWindow*>(data);
    const char* uri = webkit_web_view_get_uri(self->m_webView);
    gtk_entry_set_text(GTK_ENTRY(self->m_address), uri ? uri : "");
    self->updateNavigationButtons();
}

} // namespace host
