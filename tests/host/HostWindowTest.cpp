// The host program's window with the bar registered, under a real display.

#include "host/HostWindow.h"
#include "host/BarCatalog.h"
#include "host/BarModule.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "platform/registry/Registry.h"
#include "platform/window/Windows.h"
#include "support/TempHome.h"

#include <dlfcn.h>
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

} // namespace

TEST(HostWindow, ShowsTheBarAndUnloadsItsModuleOnClose) {
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no display";
    TempHome home;
    registry::Registry::resetUser();
    const std::string module = std::filesystem::canonical(TAVRISK_MODULE_PATH).string();
    ASSERT_EQ(host::BarModule(module).registerServer(), S_OK);

    bool quit = false;
    gtkplatform::GtkWindowBackend backend([&](int) { quit = true; });
    win::SetBackend(&backend);
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
    win::SetBackend(nullptr);
    win::TakeQuitRequest();
    registry::Registry::resetUser();
}
