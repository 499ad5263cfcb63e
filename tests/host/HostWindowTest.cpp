// The host program's window with the bar registered, under a real display.

#include "host/HostWindow.h"
#include "host/BarCatalog.h"
#include "host/BarModule.h"
#include "platform/browser/WebBrowser.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "platform/registry/Registry.h"
#include "platform/window/Windows.h"
#include "support/TempHome.h"

#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace {

void pump(int iterations = 50) {
    for (int i = 0; i < iterations; ++i)
        g_main_context_iteration(nullptr, FALSE);
}

bool moduleLoaded(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// The tool button captioned label inside widget, or nullptr.
GtkWidget* findToolButton(GtkWidget* widget, const std::string& label) {
    if (GTK_IS_TOOL_BUTTON(widget)) {
        const char* text = gtk_tool_button_get_label(GTK_TOOL_BUTTON(widget));
        GtkWidget* shown = gtk_tool_button_get_label_widget(GTK_TOOL_BUTTON(widget));
        if (!text && shown && GTK_IS_LABEL(shown))
            text = gtk_label_get_text(GTK_LABEL(shown));
        if (text && label == text)
            return widget;
    }
    if (!GTK_IS_CONTAINER(widget))
        return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* child = children; child && !found; child = child->next)
        found = findToolButton(GTK_WIDGET(child->data), label);
    g_list_free(children);
    return found;
}

// The first control inside widget that can take the focus now, or nullptr.
GtkWidget* findFocusable(GtkWidget* widget) {
    if (GTK_IS_BUTTON(widget) && gtk_widget_get_can_focus(widget) &&
        gtk_widget_is_sensitive(widget) && gtk_widget_get_visible(widget))
        return widget;
    if (!GTK_IS_CONTAINER(widget))
        return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* child = children; child && !found; child = child->next)
        found = findFocusable(GTK_WIDGET(child->data));
    g_list_free(children);
    return found;
}

template <typename Condition> bool waitFor(Condition condition) {
    for (int i = 0; i < 500 && !condition(); ++i) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(10000);
    }
    return condition();
}

class HostWithBar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no display";
        registry::Registry::resetUser();
        ASSERT_EQ(host::BarModule(module).registerServer(), S_OK);
        win::SetBackend(&backend);
    }
    void TearDown() override {
        win::SetBackend(nullptr);
        win::TakeQuitRequest();
        registry::Registry::resetUser();
    }

    TempHome home;
    const std::string module = std::filesystem::canonical(TAVRISK_MODULE_PATH).string();
    bool quit = false;
    gtkplatform::GtkWindowBackend backend{[this](int) { quit = true; }};
};

} // namespace

TEST_F(HostWithBar, EditingThenClosingStillUnloadsTheModule) {
    {
        host::HostWindow window(backend, host::registeredBars());
        window.setBarVisible(0, true);
        host::HostedBar* bar = window.bar(0);
        ASSERT_NE(bar, nullptr);
        std::string page = (home.path() / "page.htm").string();
        { std::ofstream(page) << "<html><body><p>Some text</p></body></html>"; }
        window.navigate(page);
        ASSERT_TRUE(waitFor([&] {
            BOOL busy = TRUE;
            window.browser()->get_Busy(&busy);
            std::string url;
            window.browser()->get_LocationURL(&url);
            return !busy && url.find("page.htm") != std::string::npos;
        }));

        GtkWidget* editSite =
            findToolButton(gtkplatform::GtkWindowBackend::widget(bar->window()), "Edit site");
        ASSERT_NE(editSite, nullptr);
        gtk_toggle_tool_button_set_active(GTK_TOGGLE_TOOL_BUTTON(editSite), TRUE);
        ASSERT_TRUE(waitFor([&] {
            return findToolButton(gtkplatform::GtkWindowBackend::widget(bar->window()),
                                  "Publish") != nullptr;
        }));

        window.close();
        EXPECT_TRUE(bar->closed());
        EXPECT_TRUE(bar->unloaded());
    }
    EXPECT_FALSE(moduleLoaded(module));
}

TEST_F(HostWithBar, ShowsTheBarAndUnloadsItsModuleOnClose) {
    {
        host::HostWindow window(backend, host::registeredBars());
        ASSERT_EQ(window.barCount(), 1u);
        window.setBarVisible(0, true);
        host::HostedBar* bar = window.bar(0);
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(moduleLoaded(module));
        HWND form = bar->window();
        ASSERT_TRUE(win::IsWindow(form));
        EXPECT_EQ(win::GetClassName(win::GetParent(form)), "ReBarWindow32");
        EXPECT_EQ(bar->preferredHeight(), 197);
        GtkWidget* formWidget = gtkplatform::GtkWindowBackend::widget(form);
        ASSERT_NE(formWidget, nullptr);
        pump();
        EXPECT_TRUE(gtk_widget_get_mapped(formWidget));

        // Hiding keeps the bar; it is only closed with the window.
        window.setBarVisible(0, false);
        EXPECT_FALSE(bar->closed());
        EXPECT_FALSE(gtk_widget_get_visible(formWidget));
        EXPECT_FALSE(bar->hasFocus());
        window.setBarVisible(0, true);
        EXPECT_TRUE(bar->hasFocus());

        window.close();
        EXPECT_TRUE(bar->closed());
        EXPECT_TRUE(bar->unloaded());
        EXPECT_FALSE(win::IsWindow(form));
        EXPECT_TRUE(quit); // the band asked the application to end
    }
    EXPECT_FALSE(moduleLoaded(module));
}

TEST_F(HostWithBar, TheBarIsActivatedByTheFocusAndGetsKeysAsVirtualKeyCodes) {
    host::HostWindow window(backend, host::registeredBars());
    window.setBarVisible(0, true);
    host::HostedBar* bar = window.bar(0);
    ASSERT_NE(bar, nullptr);
    GtkWidget* control = findFocusable(gtkplatform::GtkWindowBackend::widget(bar->window()));
    ASSERT_NE(control, nullptr);
    GtkWindow* toplevel = GTK_WINDOW(window.widget());

    // The bar is activated when the focus enters it, deactivated when it
    // leaves, and the focus stays where the person put it.
    for (int turn = 0; turn < 2; ++turn) {
        gtk_widget_grab_focus(control);
        EXPECT_TRUE(bar->hasFocus());
        EXPECT_EQ(gtk_window_get_focus(toplevel), control);
        gtk_widget_grab_focus(GTK_WIDGET(window.webView()));
        EXPECT_FALSE(bar->hasFocus());
    }

    gtk_widget_grab_focus(control);
    std::vector<WPARAM> keys;
    {
        win::WndProc saved = win::GetWindowProc(bar->window());
        win::SetWindowProc(bar->window(), [&](HWND h, UINT m, WPARAM w, LPARAM l) {
            if (m == WM_KEYDOWN)
                keys.push_back(w);
            return saved(h, m, w, l);
        });
        for (guint keyval : {GDK_KEY_period, GDK_KEY_a, GDK_KEY_Delete}) {
            GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
            event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window.widget())));
            event->key.keyval = keyval;
            event->key.time = GDK_CURRENT_TIME;
            gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(
                                            gdk_display_get_default())));
            gtk_widget_event(window.widget(), event);
            gdk_event_free(event);
        }
        win::SetWindowProc(bar->window(), saved);
    } // the saved procedure is the module's code: gone before it unloads
    // Delete stays with the host; "." reaches the bar as its own key.
    EXPECT_EQ(keys, (std::vector<WPARAM>{0xBE, 'A'}));
    window.close();
}
