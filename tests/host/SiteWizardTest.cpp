// From a page of the user's site to that page under editing, in the real
// host with the real bar: "Edit site" opens the site wizard, the wizard is
// filled through its own controls, and "Finished" tests the FTP account,
// saves it, finds the default page, downloads it and opens it for editing.

#include "host/BarCatalog.h"
#include "host/BarModule.h"
#include "host/HostWindow.h"
#include "platform/browser/WebBrowser.h"
#include "platform/gtk/GtkDialogs.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "platform/places/Places.h"
#include "platform/registry/Registry.h"
#include "platform/ui/Dialogs.h"
#include "platform/window/Windows.h"
#include "support/Files.h"
#include "support/LocalSite.h"
#include "support/MainLoopTimer.h"
#include "support/TempHome.h"
#include "support/WebViewDriver.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <regex>
#include <sys/stat.h>

namespace {

// How long a page, a window or a run may take on a busy machine; the waits
// end as soon as what they wait for is there.
constexpr int kPatience = 60000;

// The descendant of widget with the given name (the form's control name).
GtkWidget* findNamed(GtkWidget* widget, const std::string& name) {
    const char* own = gtk_widget_get_name(widget);
    if (own && name == own)
        return widget;
    if (!GTK_IS_CONTAINER(widget))
        return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* child = children; child && !found; child = child->next)
        found = findNamed(GTK_WIDGET(child->data), name);
    g_list_free(children);
    return found;
}

// The tool button captioned label inside widget, or nullptr.
GtkWidget* findToolButton(GtkWidget* widget, const std::string& label) {
    if (GTK_IS_TOOL_BUTTON(widget)) {
        GtkWidget* shown = gtk_tool_button_get_label_widget(GTK_TOOL_BUTTON(widget));
        if (shown && GTK_IS_LABEL(shown) && label == gtk_label_get_text(GTK_LABEL(shown)))
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

// The top-level window with this title, shown or not.
GtkWidget* toplevelTitled(const std::string& title) {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* item = windows; item && !found; item = item->next) {
        const char* t = gtk_window_get_title(GTK_WINDOW(item->data));
        if (t && title == t)
            found = GTK_WIDGET(item->data);
    }
    g_list_free(windows);
    return found;
}

// Answers every message box as soon as it shows and keeps its text, so that
// a failure shows in the test's output instead of waiting for a click.
class MessageBoxes {
public:
    MessageBoxes() { m_source = g_timeout_add(50, &look, this); }
    ~MessageBoxes() { g_source_remove(m_source); }
    const std::vector<std::string>& texts() const { return m_texts; }

private:
    static gboolean look(gpointer self) {
        auto* me = static_cast<MessageBoxes*>(self);
        GList* windows = gtk_window_list_toplevels();
        for (GList* item = windows; item; item = item->next) {
            GtkWidget* w = GTK_WIDGET(item->data);
            if (!GTK_IS_MESSAGE_DIALOG(w) || !gtk_widget_get_visible(w))
                continue;
            gchar* text = nullptr;
            g_object_get(w, "text", &text, nullptr);
            me->m_texts.push_back(text ? text : "");
            g_free(text);
            gtk_dialog_response(GTK_DIALOG(w), GTK_RESPONSE_OK);
        }
        g_list_free(windows);
        return G_SOURCE_CONTINUE;
    }

    guint m_source = 0;
    std::vector<std::string> m_texts;
};

std::string iniText() {
    return testfiles::readFile(places::configFolder() / "tavrisk.ini");
}

// Saves a window as a PNG into $TAVRISK_SHOTS, when that is set.
void shoot(GtkWidget* window, const std::string& name) {
    const char* folder = std::getenv("TAVRISK_SHOTS");
    if (!folder || !gtk_widget_get_mapped(window))
        return;
    enginetest::Settle(300);
    GdkWindow* gdk = gtk_widget_get_window(window);
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(gdk, 0, 0, gdk_window_get_width(gdk),
                                                 gdk_window_get_height(gdk));
    if (!shot)
        return;
    gdk_pixbuf_save(shot, (std::string(folder) + "/" + name).c_str(), "png", nullptr, nullptr);
    g_object_unref(shot);
}

gboolean countDraw(GtkWidget*, cairo_t*, gpointer count) {
    ++*static_cast<int*>(count);
    return FALSE;
}

// The text of a panel of a status bar built by the forms' view.
std::string panelText(GtkWidget* statusBar, unsigned panel) {
    GList* frames = gtk_container_get_children(GTK_CONTAINER(statusBar));
    GList* frame = g_list_nth(frames, panel);
    std::string text =
        frame ? gtk_label_get_text(GTK_LABEL(gtk_bin_get_child(GTK_BIN(frame->data)))) : "";
    g_list_free(frames);
    return text;
}

} // namespace

class SiteWizardInHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no display";
        if (!site.unavailable().empty())
            GTEST_SKIP() << site.unavailable();
        registry::Registry::resetUser();
        ASSERT_EQ(host::BarModule(module).registerServer(), S_OK);
        win::SetBackend(&backend);
        window = std::make_unique<host::HostWindow>(backend, host::registeredBars());
        gtk_window_resize(GTK_WINDOW(window->widget()), 1100, 800);
        window->setBarVisible(0, true);
        ASSERT_NE(window->bar(0), nullptr);
    }
    void TearDown() override {
        if (window)
            window->close();
        window.reset();
        win::SetBackend(nullptr);
        win::TakeQuitRequest();
        registry::Registry::resetUser();
    }

    std::string location() {
        std::string url;
        window->browser()->get_LocationURL(&url);
        return url;
    }
    bool idle() {
        BOOL busy = TRUE;
        window->browser()->get_Busy(&busy);
        return !busy;
    }
    void show(const std::string& url) {
        window->navigate(url);
        ASSERT_TRUE(enginetest::WaitUntil([&] { return idle() && location() == url; }, kPatience));
        enginetest::Settle(200);
    }
    GtkWidget* bar() { return gtkplatform::GtkWindowBackend::widget(window->bar(0)->window()); }
    void pressEditSite() {
        GtkWidget* editSite = findToolButton(bar(), "Edit site");
        ASSERT_NE(editSite, nullptr);
        gtk_toggle_tool_button_set_active(GTK_TOGGLE_TOOL_BUTTON(editSite), TRUE);
    }
    GtkWidget* control(GtkWidget* wizard, const std::string& name) {
        GtkWidget* w = findNamed(wizard, name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void type(GtkWidget* wizard, const std::string& field, const std::string& text) {
        GtkWidget* w = control(wizard, field);
        if (GTK_IS_COMBO_BOX(w))
            w = gtk_bin_get_child(GTK_BIN(w));
        gtk_entry_set_text(GTK_ENTRY(w), text.c_str());
    }
    std::string js(const std::string& script) {
        return enginetest::Evaluate(window->webView(), script);
    }
    bool editingWithPictures() {
        return location().rfind("file://", 0) == 0 && findToolButton(bar(), "Publish") != nullptr &&
               js("document.designMode") == "on" &&
               js("Array.from(document.images).length > 0 && Array.from(document.images).every("
                  "i => i.complete && i.naturalWidth > 0)") == "true";
    }
    GtkWidget* openWizard() {
        pressEditSite();
        GtkWidget* wizard = nullptr;
        EXPECT_TRUE(enginetest::WaitUntil(
            [&] {
                wizard = toplevelTitled("Configuration wizzard");
                return wizard && gtk_widget_get_mapped(wizard);
            },
            kPatience));
        return wizard;
    }
    int savedSites() {
        std::smatch count;
        std::string text = iniText();
        static const std::regex siteCount(R"(\[Tavrisk\.siteweb\.Strings\]\r?\nCount=(\d+))");
        return std::regex_search(text, count, siteCount) ? std::stoi(count[1]) : 0;
    }

    TempHome home;
    LocalSite site;
    const std::string module = std::filesystem::canonical(TAVRISK_MODULE_PATH).string();
    gtkplatform::GtkWindowBackend backend{[](int) {}};
    // Message boxes as the program shows them.
    gtkplatform::GtkDialogs gtkDialogs;
    ui::ScopedDialogs installed{gtkDialogs};
    std::unique_ptr<host::HostWindow> window;
    MessageBoxes boxes;
};

TEST_F(SiteWizardInHost, EditSiteOnANewSiteGoesThroughTheWizardIntoEditingItsDefaultPage) {
    site.write("index.html",
               "<html><body><h1>Welcome</h1><p>Our shop.</p>"
               "<img src=\"images/logo.png\" width=\"40\" height=\"40\"></body></html>");
    site.write("images/logo.png", LocalSite::picture());
    site.write("about.htm", "<html><body>About us</body></html>");
    show(site.url("/"));

    GtkWidget* wizard = openWizard();
    ASSERT_NE(wizard, nullptr);
    int shows = 0;
    g_signal_connect_swapped(wizard, "map", G_CALLBACK(+[](int* n) { ++*n; }), &shows);
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(control(wizard, "siteedit"))), site.url("").c_str());
    type(wizard, "ftpserveredit", site.ftpServer());
    shoot(wizard, "wizard-new-connection.png");
    // Enter presses the button that leads on.
    g_signal_emit_by_name(control(wizard, "ftpserveredit"), "activate");
    ASSERT_TRUE(gtk_widget_get_mapped(control(wizard, "ftploginedit")));
    EXPECT_TRUE(gtk_widget_is_focus(control(wizard, "ftploginedit"))) << "typing goes on there";
    type(wizard, "ftploginedit", LocalSite::kLogin);
    type(wizard, "ftppasswordedit", LocalSite::kPassword);
    EXPECT_FALSE(gtk_entry_get_visibility(GTK_ENTRY(control(wizard, "ftppasswordedit"))));
    shoot(wizard, "wizard-login.png");
    gtk_button_clicked(GTK_BUTTON(control(wizard, "Netx")));
    type(wizard, "ftpinitialfolderedit", "/");
    GtkWidget* finished = control(wizard, "finished");
    ASSERT_TRUE(gtk_widget_get_mapped(finished));
    EXPECT_FALSE(gtk_widget_get_mapped(control(wizard, "Netx"))) << "covered by Finished";
    gtk_button_clicked(GTK_BUTTON(finished));

    ASSERT_TRUE(enginetest::WaitUntil([&] { return editingWithPictures(); }, kPatience))
        << location();
    EXPECT_TRUE(boxes.texts().empty()) << boxes.texts().front();
    EXPECT_FALSE(gtk_widget_get_visible(wizard));
    EXPECT_NE(js("document.body.innerHTML").find("Welcome"), std::string::npos);
    EXPECT_EQ(savedSites(), 1);
    EXPECT_NE(iniText().find("Item0=" + site.ftpServer()), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat((places::configFolder() / "tavrisk.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    shoot(window->widget(), "edit-site-opened.png");

    // Again on the same site: the saved connection is found, no wizard.
    // Leaving the edited page asks first; the box is answered OK.
    show(site.url("/about.htm"));
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0].rfind("Leave this page?", 0), 0u) << boxes.texts()[0];
    ASSERT_EQ(findToolButton(bar(), "Publish"), nullptr);
    pressEditSite();
    ASSERT_TRUE(enginetest::WaitUntil(
        [&] { return location().rfind("file://", 0) == 0 && js("document.designMode") == "on"; },
        20000))
        << location();
    EXPECT_NE(js("document.body.innerHTML").find("About us"), std::string::npos);
    EXPECT_EQ(shows, 0) << "the wizard was shown again";
    EXPECT_EQ(savedSites(), 1);
    EXPECT_EQ(boxes.texts().size(), 1u) << boxes.texts().back();
}

TEST_F(SiteWizardInHost, EscapeClosesTheWizardWhichStaysForTheNextTime) {
    site.write("index.html", "<html><body>Home</body></html>");
    show(site.url("/"));
    GtkWidget* wizard = openWizard();
    ASSERT_NE(wizard, nullptr);
    GdkEvent* escape = gdk_event_new(GDK_KEY_PRESS);
    escape->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(wizard)));
    escape->key.keyval = GDK_KEY_Escape;
    gtk_widget_event(wizard, escape);
    gdk_event_free(escape);
    ASSERT_TRUE(enginetest::WaitUntil([&] { return !gtk_widget_get_visible(wizard); }, kPatience));
    EXPECT_EQ(toplevelTitled("Configuration wizzard"), wizard) << "hidden, not destroyed";

    // The next "Edit site" shows the same window again.
    pressEditSite();
    EXPECT_TRUE(enginetest::WaitUntil([&] { return gtk_widget_get_mapped(wizard); }, kPatience));
    EXPECT_TRUE(boxes.texts().empty()) << boxes.texts().front();
}

TEST_F(SiteWizardInHost, WhileTheAccountIsTestedABarMovesInTheWizardAndTheBandSaysWhatGoesOn) {
    site.write("index.html", "<html><body>Home</body></html>");
    show(site.url("/"));
    GtkWidget* wizard = openWizard();
    ASSERT_NE(wizard, nullptr);
    type(wizard, "ftpserveredit", site.ftpServer());
    gtk_button_clicked(GTK_BUTTON(control(wizard, "Netx")));
    type(wizard, "ftploginedit", LocalSite::kLogin);
    // The server takes its time before it refuses a wrong password.
    type(wizard, "ftppasswordedit", "not the password");
    gtk_button_clicked(GTK_BUTTON(control(wizard, "Netx")));

    GtkWidget* waitingBar = control(wizard, "ProgressBar1");
    int draws = 0;
    g_signal_connect(waitingBar, "draw", G_CALLBACK(countDraw), &draws);
    bool testingShown = false;
    std::string bandStatus;
    int drawsSeen = 0;
    MainLoopTimer look{[&] {
        testingShown =
            gtk_widget_get_mapped(control(wizard, "Label14")) && gtk_widget_get_mapped(waitingBar);
        bandStatus = panelText(findNamed(bar(), "StatusBar1"), 1);
        drawsSeen = draws;
        shoot(wizard, "wizard-testing.png");
    }};
    look.scheduleIn(800);
    int drawsLater = 0;
    MainLoopTimer later{[&] { drawsLater = draws; }};
    later.scheduleIn(2000);
    gtk_button_clicked(GTK_BUTTON(control(wizard, "finished")));

    ASSERT_TRUE(look.ran() && later.ran()) << "the test ended before the server answered";
    EXPECT_TRUE(testingShown);
    EXPECT_GE(drawsLater - drawsSeen, 3) << "the bar kept moving";
    EXPECT_EQ(bandStatus, "Connecting to " + site.ftpServer() + "...");
    ASSERT_TRUE(enginetest::WaitUntil([&] { return !boxes.texts().empty(); }, kPatience));
    EXPECT_EQ(boxes.texts().front(), "Could not connect");
    // Back on the page it was finished from, ready to be corrected.
    EXPECT_TRUE(gtk_widget_get_mapped(control(wizard, "ftpinitialfolderedit")));
    EXPECT_EQ(panelText(findNamed(bar(), "StatusBar1"), 1),
              "Not connected - Press Edit to connect");
    EXPECT_EQ(savedSites(), 0);
}
