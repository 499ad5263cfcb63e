#include "GtkWindowBackend.h"

namespace gtkplatform {

namespace {

constexpr const char* kOwnedKey = "tavrisk-owned";

void onChildPressed(GtkGestureMultiPress* gesture, gint, gdouble, gdouble, gpointer data) {
    HWND window = static_cast<HWND>(data);
    GtkWidget* box = gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(gesture));
    const GdkEvent* event = gtk_gesture_get_last_event(
        GTK_GESTURE(gesture), gtk_gesture_get_last_updated_sequence(GTK_GESTURE(gesture)));
    GtkWidget* target = event ? gtk_get_event_widget(const_cast<GdkEvent*>(event)) : nullptr;
    // Only presses on child controls notify the parent, as with native
    // child windows.
    if (target && target != box)
        win::SendMessage(window, WM_PARENTNOTIFY, WM_LBUTTONDOWN, 0);
}

void watchChildPresses(GtkWidget* box, HWND window) {
    GtkGesture* gesture = gtk_gesture_multi_press_new(box);
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(gesture), 0);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(gesture), GTK_PHASE_CAPTURE);
    g_signal_connect(gesture, "pressed", G_CALLBACK(onChildPressed), window);
    g_object_set_data_full(G_OBJECT(box), "tavrisk-press-gesture", gesture, g_object_unref);
}

void addToParent(GtkWidget* child, HWND parent) {
    GtkWidget* container = GtkWindowBackend::widget(parent);
    if (!container || !GTK_IS_CONTAINER(container))
        return;
    if (GTK_IS_BOX(container))
        gtk_box_pack_start(GTK_BOX(container), child, FALSE, FALSE, 0);
    else
        gtk_container_add(GTK_CONTAINER(container), child);
}

} // namespace

GtkWindowBackend::GtkWindowBackend(std::function<void(int)> onQuit) : m_onQuit(std::move(onQuit)) {}

GtkWindowBackend::~GtkWindowBackend() {
    if (m_idleSource)
        g_source_remove(m_idleSource);
}

GtkWidget* GtkWindowBackend::widget(HWND window) {
    return static_cast<GtkWidget*>(win::GetNativeWidget(window));
}

HWND GtkWindowBackend::adopt(GtkWidget* widget, const win::WindowParams& params) {
    m_adopting = widget;
    HWND handle = win::CreateWindowObject(params);
    m_adopting = nullptr;
    return handle;
}

void GtkWindowBackend::created(HWND window) {
    if (m_adopting) {
        win::SetNativeWidget(window, m_adopting);
        return;
    }
    win::Size size = win::GetClientSize(window);
    GtkWidget* widget = nullptr;
    if (HWND parent = win::GetParent(window)) {
        widget = gtk_event_box_new();
        gtk_widget_set_size_request(widget, size.width, size.height);
        watchChildPresses(widget, window);
        addToParent(widget, parent);
        gtk_widget_show(widget);
    } else {
        // Top-level windows of the system stay hidden until shown.
        widget = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_title(GTK_WINDOW(widget), win::GetWindowText(window).c_str());
        gtk_window_set_default_size(GTK_WINDOW(widget), size.width, size.height);
    }
    g_object_set_data(G_OBJECT(widget), kOwnedKey, GINT_TO_POINTER(1));
    win::SetNativeWidget(window, widget);
}

void GtkWindowBackend::destroying(HWND window) {
    GtkWidget* w = widget(window);
    win::SetNativeWidget(window, nullptr);
    if (w && g_object_get_data(G_OBJECT(w), kOwnedKey))
        gtk_widget_destroy(w);
}

void GtkWindowBackend::resized(HWND window, win::Size size) {
    if (GtkWidget* w = widget(window))
        gtk_widget_set_size_request(w, size.width, size.height);
}

void GtkWindowBackend::focused(HWND window) {
    if (GtkWidget* w = widget(window)) {
        // A container cannot hold the focus itself: it has it when one of
        // its controls has, and focusing it again must not move it on.
        GtkWidget* toplevel = gtk_widget_get_toplevel(w);
        GtkWidget* current =
            GTK_IS_WINDOW(toplevel) ? gtk_window_get_focus(GTK_WINDOW(toplevel)) : nullptr;
        if (current && (current == w || gtk_widget_is_ancestor(current, w)))
            return;
        if (!gtk_widget_child_focus(w, GTK_DIR_TAB_FORWARD))
            gtk_widget_grab_focus(w);
    }
}

void GtkWindowBackend::messagePosted() {
    if (!m_idleSource)
        m_idleSource = g_idle_add(&GtkWindowBackend::deliverPosted, this);
}

gboolean GtkWindowBackend::deliverPosted(gpointer self) {
    static_cast<GtkWindowBackend*>(self)->m_idleSource = 0;
    win::ProcessPostedMessages();
    return G_SOURCE_REMOVE;
}

void GtkWindowBackend::quitRequested(int exitCode) {
    if (m_onQuit)
        m_onQuit(exitCode);
}

} // namespace gtkplatform
