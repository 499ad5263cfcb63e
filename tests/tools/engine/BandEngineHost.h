#pragma once

// The band form in a real window beside a real web view, as the host shows
// it, for tests that drive both with real mouse events.

#include "support/BarHost.h"

#include "forms/gtk/FormView.h"
#include "platform/window/Windows.h"
#include "shell/BandForm.h"
#include "shell/ProcessForms.h"
#include "support/TempHome.h"
#include "support/WebViewDriver.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace enginetest {

// One band form per test on a window and web view that the test program
// shares; pages are written into a private home folder.
class BandEngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = new TempHome;
        host = new BarHost;
    }
    static void TearDownTestSuite() {
        delete home;
        home = nullptr;
    }

    void SetUp() override {
        form = std::make_unique<TBandForm>(host->barArea);
        form->setBrowser(ComPtr<IWebBrowser2>(host->browser.get()));
        ASSERT_NE(form->view(), nullptr);
    }

    void TearDown() override {
        form.reset();
        shell::destroyProcessForms();
        win::TakeQuitRequest();
    }

    // Writes the page into the home folder and shows it; answers its path.
    std::string load(const std::string& html, const std::string& name) {
        std::string path = (home->path() / name).string();
        std::ofstream(path, std::ios::binary) << html;
        EXPECT_TRUE(host->navigate("file://" + path, 10000));
        return path;
    }
    // Loads the page and presses "Edit site".
    void edit(const std::string& html, const std::string& name) {
        load(html, name);
        press("designmode");
        ASSERT_TRUE(WaitUntil([&] { return eval("document.designMode") == "on"; }));
    }
    std::string eval(const std::string& script) { return Evaluate(host->view, script); }

    GtkWidget* widget(const std::string& name) {
        auto* w = static_cast<GtkWidget*>(form->view()->widget(name));
        if (!w)
            throw std::runtime_error("No widget for " + name);
        return w;
    }
    // What a user's press of a tool button does.
    void press(const std::string& name) {
        GtkWidget* w = widget(name);
        ASSERT_TRUE(gtk_widget_is_sensitive(w)) << name;
        if (GTK_IS_TOGGLE_TOOL_BUTTON(w))
            gtk_toggle_tool_button_set_active(
                GTK_TOGGLE_TOOL_BUTTON(w),
                !gtk_toggle_tool_button_get_active(GTK_TOGGLE_TOOL_BUTTON(w)));
        else
            g_signal_emit_by_name(w, "clicked");
    }
    // Chooses a menu entry through its widget, as a user's choice does:
    // the entry runs and its menu closes.
    void choose(const std::string& menuItem) {
        GtkWidget* w = widget(menuItem);
        ASSERT_TRUE(gtk_widget_is_sensitive(w)) << menuItem;
        gtk_menu_shell_activate_item(GTK_MENU_SHELL(gtk_widget_get_parent(w)), w, TRUE);
    }
    // Types the text into a panel field and presses Enter there.
    void typeAndEnter(const std::string& field, const std::string& text) {
        GtkWidget* entry = widget(field);
        gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
        g_signal_emit_by_name(entry, "activate");
    }

    void mouse(Mouse what, double x, double y) { SendMouse(GTK_WIDGET(host->view), what, x, y); }
    // A click of the left button at a point of the page; answers when the
    // dispatcher has run for both the mouse-up and the click.
    void clickAtPoint(double x, double y) {
        size_t before = dispatches();
        mouse(Mouse::Move, x, y);
        mouse(Mouse::Press, x, y);
        mouse(Mouse::Release, x, y);
        EXPECT_TRUE(WaitUntil([&] { return dispatches() >= before + 2; }));
    }
    void clickAt(const std::string& selector) {
        Rect r = ElementRect(host->view, selector);
        clickAtPoint(r.x + 2, r.centerY());
    }
    // Presses on the middle of the element, as a user picks an image.
    void clickOnMiddle(const std::string& selector) {
        Rect r = ElementRect(host->view, selector);
        clickAtPoint(r.centerX(), r.centerY());
    }
    void dragAcross(const std::string& selector) {
        Rect r = ElementRect(host->view, selector);
        size_t before = dispatches();
        mouse(Mouse::Move, r.x + 1, r.centerY());
        mouse(Mouse::Press, r.x + 1, r.centerY());
        for (int i = 1; i <= 5; ++i)
            mouse(Mouse::Move, r.x + 1 + (r.width - 2) * i / 5, r.centerY());
        mouse(Mouse::Release, r.x + r.width - 1, r.centerY());
        EXPECT_TRUE(WaitUntil([&] { return dispatches() >= before + 1; }));
    }
    // With TAVRISK_SHOT_DIR set, saves the window as a PNG picture there,
    // for the screenshots of the documentation.
    void saveShot(const std::string& name) {
        const char* folder = std::getenv("TAVRISK_SHOT_DIR");
        if (!folder)
            return;
        Settle(300); // the page and the bar paint what the test left
        GdkWindow* window = gtk_widget_get_window(host->window);
        GdkPixbuf* shot = gdk_pixbuf_get_from_window(window, 0, 0, gdk_window_get_width(window),
                                                     gdk_window_get_height(window));
        ASSERT_NE(shot, nullptr);
        std::string path = std::string(folder) + "/" + name;
        EXPECT_TRUE(gdk_pixbuf_save(shot, path.c_str(), "png", nullptr, nullptr)) << path;
        g_object_unref(shot);
    }
    // How many times the click dispatcher has started.
    size_t dispatches() {
        size_t n = 0;
        for (const std::string& line : (*form)["Memo1"].lines())
            n += line == "brow";
        return n;
    }

    static TempHome* home;
    static BarHost* host;
    std::unique_ptr<TBandForm> form;
};

inline TempHome* BandEngineTest::home = nullptr;
inline BarHost* BandEngineTest::host = nullptr;

} // namespace enginetest
