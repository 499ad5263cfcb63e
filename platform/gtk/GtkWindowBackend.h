#pragma once

#include "platform/window/Windows.h"

#include <functional>
#include <gtk/gtk.h>

namespace gtkplatform {

// Gives window handles GTK widgets. A child window becomes an event box in
// its parent's container; a press on any widget inside it reaches the window
// procedure as WM_PARENTNOTIFY first. Posted messages are delivered from an
// idle callback of the main loop.
class GtkWindowBackend final : public win::WindowBackend {
public:
    // onQuit runs when WM_QUIT reaches the thread.
    explicit GtkWindowBackend(std::function<void(int)> onQuit);
    ~GtkWindowBackend() override;

    // Creates a handle for a widget the caller built (the host's own windows).
    HWND adopt(GtkWidget* widget, const win::WindowParams& params);

    void created(HWND window) override;
    void destroying(HWND window) override;
    void resized(HWND window, win::Size size) override;
    void focused(HWND window) override;
    void messagePosted() override;
    void quitRequested(int exitCode) override;

    static GtkWidget* widget(HWND window);

private:
    static gboolean deliverPosted(gpointer self);

    std::function<void(int)> m_onQuit;
    GtkWidget* m_adopting = nullptr;
    guint m_idleSource = 0;
};

} // namespace gtkplatform
