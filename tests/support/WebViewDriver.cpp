#include "support/WebViewDriver.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace enginetest {

bool WaitUntil(const std::function<bool()>& condition, int milliseconds) {
    gint64 end = g_get_monotonic_time() + gint64(milliseconds) * 1000;
    while (!condition()) {
        if (g_get_monotonic_time() > end)
            return false;
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
    return true;
}

void Settle(int milliseconds) {
    gint64 end = g_get_monotonic_time() + gint64(milliseconds) * 1000;
    while (g_get_monotonic_time() < end) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        g_usleep(2000);
    }
}

std::string Evaluate(WebKitWebView* view, const std::string& script) {
    struct Result {
        bool done = false;
        std::string text;
    };
    auto result = std::make_shared<Result>();
    webkit_web_view_evaluate_javascript(
        view, script.c_str(), -1, nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* res, gpointer data) {
            auto* holder = static_cast<std::shared_ptr<Result>*>(data);
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), res, &error);
            if (value) {
                char* text = jsc_value_to_string(value);
                (*holder)->text = text ? text : "";
                g_free(text);
                g_object_unref(value);
            } else {
                (*holder)->text = std::string("error: ") + (error ? error->message : "");
                g_clear_error(&error);
            }
            (*holder)->done = true;
            delete holder;
        },
        new std::shared_ptr<Result>(result));
    WaitUntil([&] { return result->done; });
    return result->text;
}

Rect ElementRect(WebKitWebView* view, const std::string& selector) {
    std::string text = Evaluate(view, "(function(){var r=document.querySelector('" + selector +
                                          "').getBoundingClientRect();return [r.left,r.top,"
                                          "r.width,r.height].join(' ');})()");
    Rect r;
    if (std::sscanf(text.c_str(), "%lf %lf %lf %lf", &r.x, &r.y, &r.width, &r.height) != 4)
        throw std::runtime_error("No element " + selector + ": " + text);
    return r;
}

void SendMouse(GtkWidget* widget, Mouse what, double x, double y) {
    GdkWindow* window = gtk_widget_get_window(widget);
    GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(window));
    GdkEvent* event = nullptr;
    if (what == Mouse::Move) {
        event = gdk_event_new(GDK_MOTION_NOTIFY);
        event->motion.window = GDK_WINDOW(g_object_ref(window));
        event->motion.time = GDK_CURRENT_TIME;
        event->motion.x = x;
        event->motion.y = y;
        event->motion.state = GDK_BUTTON1_MASK;
    } else {
        event = gdk_event_new(what == Mouse::Press ? GDK_BUTTON_PRESS : GDK_BUTTON_RELEASE);
        event->button.window = GDK_WINDOW(g_object_ref(window));
        event->button.time = GDK_CURRENT_TIME;
        event->button.x = x;
        event->button.y = y;
        event->button.button = 1;
        event->button.state = what == Mouse::Release ? GDK_BUTTON1_MASK : 0;
    }
    gdk_event_set_device(event, gdk_seat_get_pointer(seat));
    gtk_main_do_event(event);
    gdk_event_free(event);
    Settle(30);
}

void SendKey(GtkWidget* widget, unsigned keyval, unsigned state) {
    GdkWindow* window = gtk_widget_get_window(gtk_widget_get_toplevel(widget));
    GdkDisplay* display = gdk_window_get_display(window);
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    guint16 keycode = 0;
    guint8 group = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys,
                                          &count) &&
        count > 0) {
        keycode = static_cast<guint16>(keys[0].keycode);
        group = static_cast<guint8>(keys[0].group);
    }
    g_free(keys);
    for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(window));
        event->key.time = GDK_CURRENT_TIME;
        event->key.keyval = keyval;
        event->key.state = state;
        event->key.hardware_keycode = keycode;
        event->key.group = group;
        event->key.string = g_strdup("");
        gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
        gtk_main_do_event(event);
        gdk_event_free(event);
    }
}

void TypeText(GtkWidget* widget, const std::string& text) {
    for (unsigned char c : text)
        SendKey(widget, gdk_unicode_to_keyval(c));
}

bool ActivateWindow(GtkWidget* widget) {
    GtkWindow* window = GTK_WINDOW(gtk_widget_get_toplevel(widget));
    gtk_window_present(window);
    return WaitUntil([&] { return gtk_window_is_active(window) != FALSE; }, 5000);
}

} // namespace enginetest
