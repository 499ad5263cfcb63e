#include "support/BarHost.h"

#include "support/WebViewDriver.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <stdexcept>

namespace enginetest {

BarHost::BarHost() {
    if (!gtk_init_check(nullptr, nullptr))
        throw std::runtime_error("No display: run under xvfb-run");
    win::SetBackend(&backend);
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 1024, 700);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    GtkWidget* docView = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    view = WEBKIT_WEB_VIEW(webkit_web_view_new());
    gtk_box_pack_start(GTK_BOX(docView), GTK_WIDGET(view), TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(box), docView, TRUE, TRUE, 0);
    GtkWidget* bars = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(box), bars, FALSE, FALSE, 0);

    frame = backend.adopt(window, {"IEFrame", "Tavrisk", nullptr, 1024, 700});
    HWND shellView = backend.adopt(docView, {"Shell DocObject View", "", frame, 1024, 480});
    backend.adopt(GTK_WIDGET(view), {"Internet Explorer_Server", "", shellView, 1024, 480});
    barArea = backend.adopt(bars, {"BarArea", "", frame, 1024, 200});
    gtk_widget_show_all(window);
    browser = webkit::WebKitBrowser::create(view);
    if (!WaitUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(view)); }, 5000))
        throw std::runtime_error("The host window was never shown");
}

bool BarHost::navigate(const std::string& url, int milliseconds) {
    browser->Navigate(url.c_str());
    return WaitUntil(
        [&] {
            BOOL busy = TRUE;
            browser->get_Busy(&busy);
            return !busy;
        },
        milliseconds);
}

} // namespace enginetest
