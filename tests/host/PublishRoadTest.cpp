// The program's main road in the real host with the real bar, against a
// site on loopback (Python's HTTP server and pyftpdlib): a page of the site,
// "Edit site", a word changed and a picture from the disk put in, "Publish",
// and the published page shown again from the web server.

#include "host/BarCatalog.h"
#include "host/BarModule.h"
#include "host/HostWindow.h"
#include "platform/browser/WebBrowser.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "platform/places/Places.h"
#include "platform/registry/Registry.h"
#include "support/ScriptedDialogs.h"
#include "platform/window/Windows.h"
#include "support/Files.h"
#include "support/LocalSite.h"
#include "support/TempHome.h"
#include "support/WebViewDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <regex>
#include <sstream>

using testfiles::readFile;

namespace {

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

// Whether a label inside widget shows text starting with prefix.
bool showsText(GtkWidget* widget, const std::string& prefix) {
    if (GTK_IS_LABEL(widget))
        return std::string(gtk_label_get_text(GTK_LABEL(widget))).rfind(prefix, 0) == 0;
    if (!GTK_IS_CONTAINER(widget))
        return false;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    bool found = false;
    for (GList* child = children; child && !found; child = child->next)
        found = showsText(GTK_WIDGET(child->data), prefix);
    g_list_free(children);
    return found;
}

// Saves a window as a PNG into $TAVRISK_SHOTS, when that is set.
void shoot(GtkWidget* window, const std::string& name, int settle = 300) {
    const char* folder = std::getenv("TAVRISK_SHOTS");
    if (!folder || !gtk_widget_get_mapped(window))
        return;
    if (settle > 0)
        enginetest::Settle(settle);
    GdkWindow* gdk = gtk_widget_get_window(window);
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(gdk, 0, 0, gdk_window_get_width(gdk),
                                                 gdk_window_get_height(gdk));
    if (!shot)
        return;
    gdk_pixbuf_save(shot, (std::string(folder) + "/" + name).c_str(), "png", nullptr, nullptr);
    g_object_unref(shot);
}

std::string demoFile(const std::string& name) {
    return readFile(std::filesystem::path(TAVRISK_DEMO_DIR) / name);
}

// The commands the FTP server logged ("... <- STOR name"), from the first
// STOR on, without the PORT before each transfer.
std::vector<std::string> storesAndPwds(const std::string& log) {
    std::vector<std::string> commands;
    std::istringstream lines(log);
    bool storing = false;
    for (std::string line; std::getline(lines, line);) {
        size_t at = line.find("<- ");
        if (at == std::string::npos)
            continue;
        std::string command = line.substr(at + 3);
        storing = storing || command.rfind("STOR ", 0) == 0;
        if (storing && command.rfind("PORT ", 0) != 0)
            commands.push_back(command);
    }
    return commands;
}

} // namespace

class PublishRoad : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no display";
        if (!site.unavailable().empty())
            GTEST_SKIP() << site.unavailable();
        site.write("index.htm", demoFile("index.htm"));
        site.write("sunset.png", demoFile("sunset.png"));
        site.write("mountains.png", demoFile("mountains.png"));
        saveConnection();
        registry::Registry::resetUser();
        ASSERT_EQ(host::BarModule(module).registerServer(), S_OK);
        win::SetBackend(&backend);
        window = std::make_unique<host::HostWindow>(backend, host::registeredBars());
        gtk_window_resize(GTK_WINDOW(window->widget()), 1100, 820);
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

    void saveConnection() {
        std::string ini;
        auto list = [&](const char* name, const std::string& value) {
            ini += std::string("[Tavrisk.") + name + ".Strings]\r\nCount=1\r\nItem0=" + value +
                   "\r\n\r\n";
        };
        list("siteweb", site.url(""));
        list("ftpserver", site.ftpServer());
        list("ftplogin", LocalSite::kLogin);
        list("ftppassword", std::string("\"") + LocalSite::kPassword + "\"");
        list("ftpinitialfolder", "/");
        testfiles::writeFile(places::configFolder() / "tavrisk.ini", ini);
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
    GtkWidget* bar() { return gtkplatform::GtkWindowBackend::widget(window->bar(0)->window()); }
    std::string js(const std::string& script) {
        return enginetest::Evaluate(window->webView(), script);
    }
    bool picturesLoaded() {
        return js("Array.from(document.images).length > 0 && Array.from(document.images).every("
                  "i => i.complete && i.naturalWidth > 0)") == "true";
    }

    TempHome home;
    LocalSite site;
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped{dialogs};
    const std::string module = std::filesystem::canonical(TAVRISK_MODULE_PATH).string();
    gtkplatform::GtkWindowBackend backend{[](int) {}};
    std::unique_ptr<host::HostWindow> window;
};

TEST_F(PublishRoad, EditSiteChangeAWordAddAPicturePublishAndSeeItOnTheSite) {
    window->navigate(site.url("/index.htm"));
    ASSERT_TRUE(enginetest::WaitUntil([&] { return idle() && picturesLoaded(); }));
    shoot(window->widget(), "publish-1-site-page.png");

    GtkWidget* editSite = findToolButton(bar(), "Edit site");
    ASSERT_NE(editSite, nullptr);
    gtk_toggle_tool_button_set_active(GTK_TOGGLE_TOOL_BUTTON(editSite), TRUE);
    ASSERT_TRUE(enginetest::WaitUntil(
        [&] {
            return location().rfind("file://", 0) == 0 && js("document.designMode") == "on" &&
                   findToolButton(bar(), "Publish") != nullptr && picturesLoaded();
        },
        20000))
        << location();
    ASSERT_THAT(dialogs.shown(), ::testing::IsEmpty()) << dialogs.shown().front().text;

    // A word changed as typing does, and a picture from the disk whose name
    // has a blank put in after the text, as the picture tool does.
    std::filesystem::path picture = home.path() / "My Photo.png";
    testfiles::writeFile(picture, demoFile("sunset.png"));
    gchar* pictureUri = g_filename_to_uri(picture.c_str(), nullptr, nullptr);
    ASSERT_EQ(js("(() => { const h = document.querySelector('h1');"
                 "const r = document.createRange(); r.selectNodeContents(h);"
                 "const s = getSelection(); s.removeAllRanges(); s.addRange(r);"
                 "document.execCommand('insertText', false, 'Our travels');"
                 "const p = document.querySelector('main p'); r.selectNodeContents(p);"
                 "r.collapse(false); s.removeAllRanges(); s.addRange(r);"
                 "return document.execCommand('insertHTML', false, '<img src=\"" +
                 std::string(pictureUri) + "\" width=\"160\" height=\"100\">'); })()"),
              "true");
    g_free(pictureUri);
    ASSERT_TRUE(enginetest::WaitUntil([&] { return picturesLoaded(); }));
    shoot(window->widget(), "publish-2-edited.png");

    // "Publish": Yes to the upload, the proposed name kept. While the files
    // go out, Cancel shows beside the status line's progress: saved when
    // the main loop happens to run then (the files are small).
    dialogs.queue(ui::Answer::Yes);
    struct Watch {
        GtkWidget* bar;
        GtkWidget* window;
        bool cancelShown = false;
    } watch{bar(), window->widget()};
    guint watching = g_timeout_add(
        2,
        +[](gpointer data) -> gboolean {
            auto* w = static_cast<Watch*>(data);
            GtkWidget* cancel = findToolButton(w->bar, "Cancel");
            if (!w->cancelShown && cancel && gtk_widget_get_mapped(cancel) &&
                showsText(w->bar, "Sending ")) {
                w->cancelShown = true;
                shoot(w->window, "publish-sending.png", 0);
            }
            return G_SOURCE_CONTINUE;
        },
        &watch);
    GtkWidget* publish = findToolButton(bar(), "Publish");
    ASSERT_NE(publish, nullptr);
    gtk_toggle_tool_button_set_active(GTK_TOGGLE_TOOL_BUTTON(publish), FALSE);

    static const std::regex published(site.url("/index\\.htm\\?rnd=(0|[1-9][0-9]{0,3})"));
    ASSERT_TRUE(enginetest::WaitUntil(
        [&] { return std::regex_match(location(), published) && idle() && picturesLoaded(); },
        20000))
        << location();
    g_source_remove(watching);
    shoot(window->widget(), "publish-3-published.png");
    EXPECT_FALSE(gtk_widget_get_visible(findToolButton(bar(), "Cancel")));

    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[0].text, "Upload the file to your server ?");
    EXPECT_EQ(dialogs.shown()[1].caption, "Upload file");
    EXPECT_EQ(dialogs.shown()[1].proposed, "index.htm");

    // On the server: the page with its references rewritten, in standards
    // mode still, and the picture under the name its reference resolves to.
    std::string page = readFile(site.folder() / "index.htm");
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\r\n", 0), 0u);
    EXPECT_THAT(page, ::testing::HasSubstr("Our travels"));
    EXPECT_THAT(page, ::testing::HasSubstr("src=\"my%20photo.png\""));
    EXPECT_THAT(page, ::testing::Not(::testing::HasSubstr("file:")));
    EXPECT_EQ(readFile(site.folder() / "my photo.png"), readFile(picture));

    // The browser shows the published page, its new picture loaded over HTTP.
    EXPECT_EQ(js("document.querySelector('h1').textContent"), "Our travels");
    EXPECT_EQ(js("document.compatMode"), "CSS1Compat");
    EXPECT_EQ(js("Array.from(document.images).some(i => i.src.endsWith('/my%20photo.png') && "
                 "i.naturalWidth > 0)"),
              "true");
    EXPECT_EQ(js("document.designMode"), "off");
    EXPECT_NE(findToolButton(bar(), "Edit site"), nullptr);

    EXPECT_EQ(storesAndPwds(readFile(site.ftpLog())),
              (std::vector<std::string>{"STOR index.htm", "PWD", "STOR my photo.png", "PWD"}));
}
