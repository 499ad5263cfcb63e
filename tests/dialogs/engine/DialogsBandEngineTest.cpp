// The links and images dialog opened from the band's own menus on a page in
// edit mode: what it picks goes into the page through the band's picture
// and link tools.

#include "dialogs/FileFilters.h"
#include "dialogs/Ttestform.h"
#include "platform/browser/BrowserFactory.h"
#include "platform/webkit/RelatedViewFactory.h"
#include "support/ScriptedDialogs.h"
#include "tests/platform/browser/LoopbackServer.h"
#include "tools/engine/BandEngineHost.h"

#include <regex>

using namespace enginetest;

namespace {

std::string pictures() {
    std::string tags;
    for (int i = 0; i < 5; ++i)
        tags += "<img src=\"p" + std::to_string(i) + ".gif\" width=\"200\" height=\"100\">";
    return "<html><head><title>Pictures</title></head><body>" + tags + "</body></html>";
}

} // namespace

class DialogsFromTheBand : public BandEngineTest {
protected:
    static void SetUpTestSuite() {
        BandEngineTest::SetUpTestSuite();
        factory = new webkit::RelatedViewFactory(host->view);
        browser::setBrowserFactory(factory);
        server = new LoopbackServer(
            {{"/pictures.htm", pictures()}, {"/target.htm", "<html><body>target</body></html>"}});
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
        BandEngineTest::TearDownTestSuite();
    }

    dialogs::Ttestform& dialog() {
        auto* d = shell::processFormAs<dialogs::Ttestform>(shell::ProcessFormSlot::Gallery);
        if (!d || !d->view())
            throw std::runtime_error("The links and images dialog is not shown");
        return *d;
    }
    GtkWidget* dialogWidget(const std::string& name) {
        auto* w = static_cast<GtkWidget*>(dialog().view()->widget(name));
        if (!w)
            throw std::runtime_error("No widget for " + name);
        return w;
    }
    // Types into a combo box of the dialog and presses Enter.
    void enterInCombo(const std::string& combo, const std::string& text) {
        GtkWidget* entry = gtk_bin_get_child(GTK_BIN(dialogWidget(combo)));
        gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
        g_signal_emit_by_name(entry, "activate");
    }
    void browseTo(const std::string& url) {
        enterInCombo("URLs", url);
        ASSERT_TRUE(WaitUntil([&] {
            BOOL busy = TRUE;
            dialog().WebBrowser1()->get_Busy(&busy);
            std::string at;
            dialog().WebBrowser1()->get_LocationURL(&at);
            return !busy && at == url;
        }));
    }
    WebKitWebView* galleryView() { return WEBKIT_WEB_VIEW(dialog().form()["IE"].nativeView()); }
    // Picks a picture of the page at url in the dialog's gallery with the
    // mouse.
    void pickInGallery(const std::string& url, const std::string& picture) {
        browseTo(url);
        ASSERT_TRUE(WaitUntil(
            [&] {
                return Evaluate(galleryView(), "String(location.href)") ==
                           dialogs::fileAddress(dialogs::Ttestform::galleryFile()) &&
                       Evaluate(galleryView(), "document.querySelectorAll('td[id]').length") ==
                           "5" &&
                       gtk_widget_get_mapped(GTK_WIDGET(galleryView()));
            },
            15000));
        Settle(200);
        Rect r = ElementRect(galleryView(), "td[id*=" + picture + "] img");
        GtkWidget* gallery = GTK_WIDGET(galleryView());
        SendMouse(gallery, Mouse::Move, r.centerX(), r.centerY());
        SendMouse(gallery, Mouse::Press, r.centerX(), r.centerY());
        SendMouse(gallery, Mouse::Release, r.centerX(), r.centerY());
        ASSERT_TRUE(WaitUntil([&] { return !dialog().Visible(); }));
        Settle(300);
    }

    static webkit::RelatedViewFactory* factory;
    static LoopbackServer* server;
};

webkit::RelatedViewFactory* DialogsFromTheBand::factory = nullptr;
LoopbackServer* DialogsFromTheBand::server = nullptr;

TEST_F(DialogsFromTheBand, APictureClickedInTheGalleryGoesIntoThePageOnceInTheModeAskedFor) {
    struct Case {
        const char* menuItem;
        const char* picture;
        bool positioned;
    } cases[] = {
        {"Imagelayer1", "p1", false}, // "Insert an aligned image"
        {"MenuItem2", "p3", true},    // "Insert a free align image"
    };
    bool editing = false;
    for (const Case& c : cases) {
        {
            // Leaving the page edited by the previous case asks first.
            ui::ScriptedDialogs leave;
            ui::ScopedDialogs scoped(leave);
            if (editing)
                leave.queue(ui::Answer::Ok);
            edit("<html><body><p id=\"p\">Some text</p></body></html>", "pick.htm");
            EXPECT_EQ(leave.shown().size(), editing ? 1u : 0u);
        }
        editing = true;
        clickAt("#p");
        choose(c.menuItem);
        ASSERT_TRUE(dialog().Visible()) << c.menuItem;
        pickInGallery(server->url("/pictures.htm"), c.picture);

        EXPECT_EQ(eval("document.images.length"), "1") << c.menuItem;
        EXPECT_EQ(eval("document.images[0].getAttribute('src')"),
                  server->url(std::string("/") + c.picture + ".gif"));
        EXPECT_EQ(eval("document.images[0].style.position"), c.positioned ? "absolute" : "")
            << c.menuItem;
        EXPECT_EQ(eval("document.getElementById('p').contains(document.images[0])"), "true");
    }
}

TEST_F(DialogsFromTheBand, TheLinkPageMakesLinksWithATargetAndToADocument) {
    edit("<html><body><p>One <span id=\"a\">word</span> and <span id=\"b\">another</span>"
         "</p></body></html>",
         "links.htm");
    dragAcross("#a");
    choose("MenuItem4"); // "Insert link (Browse...)"
    std::string target = server->url("/target.htm");
    browseTo(target);
    enterInCombo("targetcombo", "New Window");
    g_signal_emit_by_name(dialogWidget("BitBtn1"), "clicked"); // "Insert Link"
    ASSERT_TRUE(WaitUntil([&] { return !dialog().Visible(); }));
    EXPECT_EQ(eval("document.querySelector('a').outerHTML"),
              "<a href=\"" + target + "\" target=\"New Window\">word</a>");

    // "Add document": the chosen file becomes a file address.
    std::string file = (home->path() / "Price list.txt").string();
    std::ofstream(file) << "prices";
    ui::ScriptedDialogs files;
    ui::ScopedDialogs installed(files);
    files.queue(ui::ScriptedDialogs::Reply(std::in_place_type<std::optional<std::string>>, file));
    dragAcross("#b");
    choose("MenuItem4");
    g_signal_emit_by_name(dialogWidget("ToolButton1"), "clicked");
    ASSERT_TRUE(WaitUntil([&] { return !dialog().Visible(); }));
    std::string href = eval("document.querySelectorAll('a')[1].getAttribute('href')");
    EXPECT_EQ(href, "file://" + std::regex_replace(file, std::regex(" "), "%20"));
    EXPECT_EQ(href.rfind("file:///", 0), 0u);
    EXPECT_EQ(eval("document.querySelectorAll('a')[1].textContent"), "another");
}
