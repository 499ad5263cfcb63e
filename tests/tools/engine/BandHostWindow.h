#pragma once

// A frame with a web view and a bar area below it, registered under the
// browser's window classes, as the host program shows a bar.

#include "platform/gtk/GtkWindowBackend.h"
#include "platform/webkit/WebKitBrowser.h"
#include "platform/window/Windows.h"
#include "support/WebViewDriver.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <stdexcept>

namespace enginetest {

// A frame with the page's view and a bar area, registered under the
// browser's window classes.
struct BandHostWindow {
    BandHostWindow() {
        if (!gtk_init_check(nullptr, nullptr))
            throw std::runtime_error("No display: run the engine tests under xvfb-run");
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
        WaitUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(view)); }, 5000);
    }

    gtkplatform::GtkWindowBackend backend{[](int) {}};
    GtkWidget* window = nullptr;
    WebKitWebView* view = nullptr;
    HWND frame = nullptr;
    HWND barArea = nullptr;
    ComPtr<webkit::WebKitBrowser> browser;
};

} // namespace enginetest
