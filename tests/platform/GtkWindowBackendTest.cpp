// Window handles backed by real GTK widgets, under a display.

#include "platform/gtk/GtkWindowBackend.h"
#include "platform/window/Windows.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace {

void pump() {
    for (int i = 0; i < 50; ++i)
        g_main_context_iteration(nullptr, FALSE);
}

// The input window GTK gives a widget that has one of its own (buttons do).
GdkWindow* eventWindowOf(GtkWidget* widget) {
    GdkWindow* window = gtk_widget_get_window(widget);
    for (GList* child = gdk_window_peek_children(window); child; child = child->next) {
        gpointer owner = nullptr;
        gdk_window_get_user_data(GDK_WINDOW(child->data), &owner);
        if (owner == widget)
            return GDK_WINDOW(child->data);
    }
    return window;
}

void sendButton(GtkWidget* widget, GdkEventType type) {
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(eventWindowOf(widget)));
    event->button.button = 1;
    event->button.x = 3;
    event->button.y = 3;
    event->button.time = GDK_CURRENT_TIME;
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    gdk_event_set_device(event, gdk_seat_get_pointer(seat));
    gtk_main_do_event(event);
    gdk_event_free(event);
}

class GtkWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no display";
        win::SetBackend(&backend);
        top = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_container_add(GTK_CONTAINER(top), box);
        area = backend.adopt(box, {"ReBarWindow32", "", nullptr, 0, 0});
    }
    void TearDown() override {
        win::DestroyWindow(area);
        gtk_widget_destroy(top);
        win::SetBackend(nullptr);
        win::TakeQuitRequest();
    }

    int quitCode = -1;
    gtkplatform::GtkWindowBackend backend{[this](int code) { quitCode = code; }};
    GtkWidget* top = nullptr;
    HWND area = nullptr;
};

} // namespace

TEST_F(GtkWindows, ChildWindowLivesInItsParentsWidgetAndGoesWithIt) {
    HWND form = win::CreateWindowObject({"TBandForm", "Tavrisk", area, 300, 120});
    GtkWidget* widget = gtkplatform::GtkWindowBackend::widget(form);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(gtk_widget_get_parent(widget), gtkplatform::GtkWindowBackend::widget(area));
    gtk_widget_show_all(top);
    pump();
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    EXPECT_EQ(allocation.height, 120);
    g_object_ref(widget);
    win::DestroyWindow(form);
    EXPECT_EQ(gtk_widget_get_parent(widget), nullptr); // destroyed with its handle
    g_object_unref(widget);
}

TEST_F(GtkWindows, PressOnAChildControlNotifiesTheWindowFirst) {
    HWND form = win::CreateWindowObject({"TBandForm", "Tavrisk", area, 300, 120});
    GtkWidget* box = gtkplatform::GtkWindowBackend::widget(form);
    GtkWidget* button = gtk_button_new_with_label("Edit site");
    gtk_container_add(GTK_CONTAINER(box), button);
    gtk_widget_show_all(top);
    pump();

    std::vector<std::string> seen;
    win::SetWindowProc(form, [&](HWND, UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_PARENTNOTIFY && wParam == WM_LBUTTONDOWN)
            seen.push_back("parent notified");
        return LRESULT(0);
    });
    g_signal_connect(button, "pressed", G_CALLBACK(+[](GtkButton*, gpointer data) {
                         static_cast<std::vector<std::string>*>(data)->push_back("pressed");
                     }),
                     &seen);
    sendButton(button, GDK_BUTTON_PRESS);
    sendButton(button, GDK_BUTTON_RELEASE);
    EXPECT_EQ(seen, (std::vector<std::string>{"parent notified", "pressed"}));

    // A press on the form itself, not on a child, notifies nobody.
    seen.clear();
    sendButton(box, GDK_BUTTON_PRESS);
    sendButton(box, GDK_BUTTON_RELEASE);
    EXPECT_TRUE(seen.empty());
    win::DestroyWindow(form);
}

TEST_F(GtkWindows, PostedMessagesArriveFromTheMainLoopAndQuitReachesTheProgram) {
    HWND form = win::CreateWindowObject({"TBandForm", "", area, 10, 10});
    int delivered = 0;
    win::SetWindowProc(form, [&](HWND, UINT, WPARAM, LPARAM) { return LRESULT(++delivered); });
    win::PostMessage(form, WM_CHAR, 'a', 0);
    win::PostMessage(form, WM_CHAR, 'b', 0);
    EXPECT_EQ(delivered, 0);
    pump();
    EXPECT_EQ(delivered, 2);
    win::PostMessage(form, WM_QUIT, 0, 0);
    EXPECT_EQ(quitCode, 0);
    win::DestroyWindow(form);
}
