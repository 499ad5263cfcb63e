#pragma once

// A host window as a bar meets it, for engine tests and benchmarks: a frame
// with a real web view and a bar area, registered under the browser's window
// classes, and the browser object over the view.

#include "platform/gtk/GtkWindowBackend.h"
#include "platform/webkit/WebKitBrowser.h"
#include "platform/window/Windows.h"

typedef struct _GtkWidget GtkWidget;

namespace enginetest {

class BarHost {
public:
    // Throws when there is no display.
    BarHost();
    BarHost(const BarHost&) = delete;
    BarHost& operator=(const BarHost&) = delete;

    gtkplatform::GtkWindowBackend backend{[](int) {}};
    GtkWidget* window = nullptr;
    WebKitWebView* view = nullptr;
    HWND frame = nullptr;
    HWND barArea = nullptr;
    ComPtr<webkit::WebKitBrowser> browser;

    // Shows the address and waits until the browser is idle; false when it
    // is still busy after the time.
    bool navigate(const std::string& url, int milliseconds = 20000);
};

} // namespace enginetest
