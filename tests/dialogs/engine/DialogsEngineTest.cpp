// The page properties and the links and images dialogs in real windows,
// driven through their widgets, on real web views.

#include "dialogs/DialogHost.h"
#include "dialogs/FileFilters.h"
#include "dialogs/TForm2.h"
#include "dialogs/Ttestform.h"
#include "forms/gtk/FormView.h"
#include "platform/browser/Dom.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "support/ScriptedDialogs.h"
#include "platform/webkit/RelatedViewFactory.h"
#include "platform/webkit/WebKitBrowser.h"
#include "support/TempHome.h"
#include "support/WebViewDriver.h"
#include "tools/Colors.h"

#include "tests/platform/browser/LoopbackServer.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <fstream>
#include <stdexcept>

using namespace enginetest;

namespace {

// A browser window with its page view; the forms' browsers come from a
// factory related to that view, as in the program.
struct Host {
    Host() {
        if (!gtk_init_check(nullptr, nullptr))
            throw std::runtime_error("No display: run the engine tests under xvfb-run");
        win::SetBackend(&backend);
        window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(window), 900, 600);
        view = WEBKIT_WEB_VIEW(webkit_web_view_new());
        gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(view));
        gtk_widget_show_all(window);
        browser = webkit::WebKitBrowser::create(view);
        factory = std::make_unique<webkit::RelatedViewFactory>(view);
        browser::setBrowserFactory(factory.get());
        WaitUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(view)); }, 5000);
    }

    gtkplatform::GtkWindowBackend backend{[](int) {}};
    GtkWidget* window = nullptr;
    WebKitWebView* view = nullptr;
    ComPtr<webkit::WebKitBrowser> browser;
    std::unique_ptr<webkit::RelatedViewFactory> factory;
};

// The band form as the dialogs see it: what they hand back is recorded.
struct RecordingBand : dialogs::DialogHost {
    IWebBrowser2* page = nullptr;
    bool forImage = false;
    uint8_t target = 0;
    std::string remote, edited, chosenWidth, chosenHeight;
    std::vector<std::pair<int, std::string>> pictures;
    std::vector<std::string> links;
    dialogs::Ttestform* chooser = nullptr;

    IWebBrowser2* pageBrowser() override { return page; }
    bool galleryForImage() const override { return forImage; }
    void setGalleryForImage(bool f) override { forImage = f; }
    uint8_t imageTarget() const override { return target; }
    void setImageTarget(uint8_t mode) override { target = mode; }
    void setChosenSize(const std::string& w, const std::string& h) override {
        chosenWidth = w;
        chosenHeight = h;
    }
    std::string remotePageURL() const override { return remote; }
    std::string editedPageUrl() const override { return edited; }
    bool linkSelected() const override { return false; }
    void insertPicture(uint8_t mode, const std::string& location) override {
        pictures.emplace_back(mode, location);
    }
    void makeLink(const std::string& address) override { links.push_back(address); }
    void makeEmailLink(const std::string& address, const std::string& subject) override {
        links.push_back(address + " / " + subject);
    }
    std::string colorToHtml(forms::ColorValue c) override { return tools::ColorToHtml(c); }
    bool htmlToColor(const std::string& t, forms::ColorValue& c) override {
        return tools::HTMLToColor(t, c);
    }
    void showLinksAndImages() override {
        if (chooser)
            chooser->Show();
    }
};

bool loaded(IWebBrowser2* browser) {
    BOOL busy = TRUE;
    browser->get_Busy(&busy);
    return !busy;
}

std::string pictureTags(int count, const std::string& prefix) {
    std::string tags;
    for (int i = 0; i < count; ++i)
        tags += "<img src=\"" + prefix + std::to_string(i) + ".gif\" width=\"200\" height=\"100\">";
    return tags;
}

} // namespace

class DialogsEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = new TempHome;
        host = new Host;
        // Nine distinct pictures, one of them twice in another letter case.
        server = new LoopbackServer({
            {"/nine.htm", "<html><body>" + pictureTags(9, "pic") +
                              "<img src=\"PIC3.gif\" width=\"1\" height=\"1\"></body></html>"},
            {"/hostile.htm",
             "<html><body>"
             "<img src='x\"><script>window.parent.hacked=1</script>.gif' width=20 height=10>"
             "<img src=\"javascript:window.hacked=2\" width=\"10\" height=\"10\">"
             "<img src=\"q' onerror='window.hacked=3\" width='5\" onload=\"x' height=6>"
             "</body></html>"},
            {"/a.htm", "<html><head><title>A</title></head><body>a</body></html>"},
            {"/b.htm", "<html><head><title>B</title></head><body>b</body></html>"},
            {"/c.htm", "<html><head><title>C</title></head><body>c</body></html>"},
            {"/d.htm", "<html><head><title>D</title></head><body>d</body></html>"},
        });
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
        delete home;
        home = nullptr;
    }

    void SetUp() override {
        band.page = host->browser.get();
        properties = std::make_unique<dialogs::TForm2>();
        chooser = std::make_unique<dialogs::Ttestform>();
        properties->FBandForm = &band;
        chooser->FBandForm = &band;
        band.chooser = chooser.get();
    }
    void TearDown() override {
        properties.reset();
        chooser.reset();
        Settle(50);
    }

    void load(const std::string& html) {
        std::string path = (home->path() / "page.htm").string();
        std::ofstream(path, std::ios::binary) << html;
        host->browser->Navigate(("file://" + path).c_str());
        ASSERT_TRUE(WaitUntil([&] { return loaded(host->browser.get()); }));
    }
    std::string eval(const std::string& script) { return Evaluate(host->view, script); }

    static GtkWidget* widget(dialogs::WindowedForm& dialog, const std::string& name) {
        if (!dialog.view())
            throw std::runtime_error("The dialog has no window");
        auto* w = static_cast<GtkWidget*>(dialog.view()->widget(name));
        if (!w)
            throw std::runtime_error("No widget for " + name);
        return w;
    }
    static GtkWidget* window(dialogs::WindowedForm& dialog) {
        return static_cast<GtkWidget*>(win::GetNativeWidget(dialog.Handle()));
    }
    static void click(dialogs::WindowedForm& dialog, const std::string& name) {
        GtkWidget* w = widget(dialog, name);
        if (GTK_IS_MENU_ITEM(w))
            gtk_menu_item_activate(GTK_MENU_ITEM(w));
        else if (GTK_IS_TOOL_BUTTON(w))
            g_signal_emit_by_name(w, "clicked");
        else
            gtk_button_clicked(GTK_BUTTON(w));
        Settle(50);
    }
    static std::string entryText(dialogs::WindowedForm& dialog, const std::string& name) {
        return gtk_entry_get_text(GTK_ENTRY(widget(dialog, name)));
    }
    static void type(dialogs::WindowedForm& dialog, const std::string& name,
                     const std::string& text) {
        gtk_entry_set_text(GTK_ENTRY(widget(dialog, name)), text.c_str());
    }
    static GtkTextBuffer* memo(dialogs::WindowedForm& dialog, const std::string& name) {
        GtkWidget* scrolled = widget(dialog, name);
        return gtk_text_view_get_buffer(GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(scrolled))));
    }
    static std::string memoText(dialogs::WindowedForm& dialog, const std::string& name) {
        GtkTextIter start, end;
        GtkTextBuffer* buffer = memo(dialog, name);
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        char* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
        std::string result = text;
        g_free(text);
        return result;
    }
    // The combo box entry of the link dialog's address bar: typed, then Enter.
    void goTo(const std::string& address) {
        GtkWidget* entry = gtk_bin_get_child(GTK_BIN(widget(*chooser, "URLs")));
        gtk_entry_set_text(GTK_ENTRY(entry), address.c_str());
        g_signal_emit_by_name(entry, "activate");
        ASSERT_TRUE(WaitUntil([&] {
            return loaded(chooser->WebBrowser1()) && chooser->form()["URLs"].text() == address &&
                   !chooser->history().entries().empty() &&
                   chooser->history().entries()[chooser->history().current()] == address;
        })) << address;
        Settle(50);
    }
    WebKitWebView* galleryView() { return WEBKIT_WEB_VIEW(chooser->form()["IE"].nativeView()); }
    // Opens the chooser for pictures of the page and waits for its gallery.
    void openGallery(const std::string& pageUrl) {
        band.forImage = true;
        band.target = 3;
        band.remote = band.edited = pageUrl;
        chooser->Show();
        // The link browser's page completing sends the gallery browser to it
        // once more: wait for both, then for the gallery built last.
        ASSERT_TRUE(WaitUntil(
            [&] {
                std::string at;
                chooser->WebBrowser1()->get_LocationURL(&at);
                return loaded(chooser->WebBrowser1()) && at == pageUrl;
            },
            15000));
        ASSERT_TRUE(WaitUntil(
            [&] {
                return chooser->IE() && loaded(chooser->IE()) &&
                       Evaluate(galleryView(), "String(location.href)") ==
                           dialogs::fileAddress(dialogs::Ttestform::galleryFile()) &&
                       Evaluate(galleryView(), "document.readyState") == "complete";
            },
            15000));
        ASSERT_TRUE(WaitUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(galleryView())); }));
        Settle(200);
    }

    static TempHome* home;
    static Host* host;
    static LoopbackServer* server;
    RecordingBand band;
    std::unique_ptr<dialogs::TForm2> properties;
    std::unique_ptr<dialogs::Ttestform> chooser;
};

TempHome* DialogsEngine::home = nullptr;
Host* DialogsEngine::host = nullptr;
LoopbackServer* DialogsEngine::server = nullptr;

TEST_F(DialogsEngine, PagePropertiesAreReadAndWrittenThroughTheDialogsControls) {
    load("<html><head><title>Old title</title>"
         "<meta name=\"Keywords\" content=\"boats\">"
         "<meta name=\"keywords\" content=\"sails\">"
         "<meta NAME=\"DESCRIPTION\" content=\"A harbour\">"
         "<meta name=\"author\" content=\"me\"></head>"
         "<body bgcolor=\"#FF0000\" background=\"sea.gif\">"
         "<table><tr><td>cell</td></tr></table>"
         "<meta name=\"keywords\" content=\"in the body\"></body></html>");
    properties->Show();
    ASSERT_TRUE(WaitUntil([&] { return gtk_widget_get_visible(window(*properties)); }));
    EXPECT_EQ(gtk_window_get_title(GTK_WINDOW(window(*properties))),
              std::string("Page properties"));
    EXPECT_EQ(entryText(*properties, "title"), "Old title");
    // Both keywords metas of the head, one line each; not the one in the body.
    EXPECT_EQ(memoText(*properties, "keywords"), "boats\nsails");
    EXPECT_EQ(memoText(*properties, "description"), "A harbour");
    EXPECT_EQ(properties->form()["tbackground"].color(), 0x0000FF);
    EXPECT_EQ(properties->form()["tbackgroundcolor"].text(), "#ff0000");
    EXPECT_EQ(properties->form()["backgroundimage"].text(), "sea.gif");

    type(*properties, "title", "New title");
    gtk_text_buffer_set_text(memo(*properties, "keywords"), "wind\nwaves", -1);
    gtk_text_buffer_set_text(memo(*properties, "description"), "A quiet harbour", -1);
    GtkWidget* picker = widget(*properties, "tbackground");
    GtkMenu* palette = gtk_menu_button_get_popup(GTK_MENU_BUTTON(picker));
    GList* entries = gtk_container_get_children(GTK_CONTAINER(palette));
    gtk_menu_item_activate(GTK_MENU_ITEM(g_list_nth_data(entries, 10))); // green
    g_list_free(entries);
    click(*properties, "Button2"); // "&Ok"

    EXPECT_FALSE(gtk_widget_get_visible(window(*properties)));
    EXPECT_EQ(eval("document.title"), "New title");
    EXPECT_EQ(eval("document.body.getAttribute('bgcolor')"), "#00ff00");
    EXPECT_EQ(eval("document.body.getAttribute('background')"), "sea.gif");
    EXPECT_EQ(eval("Array.from(document.querySelectorAll('meta')).map(m => m.name + '=' + "
                   "m.content).join('|')"),
              "Keywords=wind\nwaves|keywords=wind\nwaves|DESCRIPTION=A quiet harbour|author=me|"
              "keywords=in the body");
}

TEST_F(DialogsEngine, CancelLeavesThePageAndNoImageEmptiesTheBackground) {
    load("<html><head><title>Kept</title><meta name=\"description\" content=\"same\"></head>"
         "<body background=\"sea.gif\"><p>text</p></body></html>");
    std::string before = eval("document.documentElement.outerHTML");
    properties->Show();
    type(*properties, "title", "Changed");
    gtk_text_buffer_set_text(memo(*properties, "description"), "other", -1);
    click(*properties, "Noimage1");
    EXPECT_EQ(properties->form()["backgroundimage"].text(), "");
    click(*properties, "Button3"); // "&Cancel"
    EXPECT_FALSE(gtk_widget_get_visible(window(*properties)));
    EXPECT_EQ(eval("document.documentElement.outerHTML"), before);

    // Showing again reads the page anew: what was typed is gone.
    properties->Show();
    EXPECT_EQ(entryText(*properties, "title"), "Kept");
    EXPECT_EQ(memoText(*properties, "description"), "same");
    click(*properties, "Noimage1");
    click(*properties, "Button2");
    EXPECT_EQ(eval("String(document.body.getAttribute('background'))"), "null");
    EXPECT_EQ(eval("document.title"), "Kept");
}

TEST_F(DialogsEngine, ThePicturesOfAPageMakeAGalleryAndAClickedOneIsInsertedOnce) {
    openGallery(server->url("/nine.htm"));
    EXPECT_TRUE(gtk_widget_get_visible(widget(*chooser, "TabSheet3")));
    EXPECT_FALSE(gtk_widget_get_visible(widget(*chooser, "TabSheet2")));
    EXPECT_FALSE(gtk_widget_get_visible(widget(*chooser, "CoolBar5")));
    EXPECT_EQ(chooser->form()["PageControl1"].activePage(), "TabSheet3");
    EXPECT_EQ(Evaluate(galleryView(),
                       "Array.from(document.querySelectorAll('body > table > tbody > tr'))"
                       ".map(r => r.querySelectorAll(':scope > td[id]').length).join(',')"),
              "4,4,1");
    EXPECT_EQ(Evaluate(galleryView(), "document.images[5].width + 'x' + document.images[5].height"),
              "120x60");

    Rect r = ElementRect(galleryView(), "td[id*=pic5] img");
    GtkWidget* gallery = GTK_WIDGET(galleryView());
    SendMouse(gallery, Mouse::Move, r.centerX(), r.centerY());
    SendMouse(gallery, Mouse::Press, r.centerX(), r.centerY());
    SendMouse(gallery, Mouse::Release, r.centerX(), r.centerY());
    ASSERT_TRUE(WaitUntil([&] { return !band.pictures.empty(); }));
    Settle(300);
    ASSERT_EQ(band.pictures.size(), 1u);
    EXPECT_EQ(band.pictures[0].first, 3);
    EXPECT_EQ(band.pictures[0].second, server->url("/pic5.gif"));
    EXPECT_EQ(band.chosenWidth, "200");
    EXPECT_EQ(band.chosenHeight, "100");
    EXPECT_FALSE(chooser->Visible());
}

TEST_F(DialogsEngine, AHostilePageAddsNothingButPlainCellsToTheGallery) {
    openGallery(server->url("/hostile.htm"));
    Settle(300);
    EXPECT_EQ(chooser->pictures().size(), 3u);
    WebKitWebView* gallery = galleryView();
    EXPECT_EQ(Evaluate(gallery, "document.querySelectorAll('script').length"), "0");
    EXPECT_EQ(Evaluate(gallery, "document.querySelectorAll('td[id]').length"), "3");
    EXPECT_EQ(Evaluate(gallery, "document.querySelectorAll('img').length"), "3");
    // Every attribute of the gallery is one it writes itself.
    EXPECT_EQ(Evaluate(gallery,
                       "Array.from(document.querySelectorAll('*')).flatMap(e => "
                       "Array.from(e.attributes).map(a => a.name)).filter(n => !['id','width',"
                       "'height','align','alt','src','border','onmouseover','onmouseout','style',"
                       "'bgcolor','cellpadding','cellspacing','size','leftmargin','topmargin',"
                       "'marginwidth','marginheight','charset'].includes(n)).join(',')"),
              "");
    EXPECT_EQ(Evaluate(gallery, "String(window.hacked)"), "undefined");
    // The cells' ids carry the addresses as the page wrote them.
    EXPECT_EQ(Evaluate(gallery, "document.querySelectorAll('td[id]')[1].id"),
              "javascript:window.hacked=2[10][10]");
}

TEST_F(DialogsEngine, TheLinkPageKeepsAHistoryAndHandsBackItsAddresses) {
    band.forImage = false;
    chooser->Show();
    EXPECT_FALSE(gtk_widget_get_visible(widget(*chooser, "TabSheet3")));
    EXPECT_TRUE(gtk_widget_get_visible(widget(*chooser, "CoolBar5")));
    std::string a = server->url("/a.htm"), b = server->url("/b.htm"), c = server->url("/c.htm"),
                d = server->url("/d.htm");
    goTo(a);
    goTo(b);
    goTo(c);
    EXPECT_EQ(gtk_window_get_title(GTK_WINDOW(window(*chooser))), std::string("Web browser:C"));
    click(*chooser, "BackBtn");
    ASSERT_TRUE(WaitUntil([&] { return chooser->history().current() == 1; }));
    EXPECT_EQ(chooser->history().entries(), (std::vector<std::string>{a, b, c}));
    goTo(d);
    EXPECT_EQ(chooser->history().entries(), (std::vector<std::string>{a, d}));
    // The typed addresses, latest first.
    EXPECT_EQ(chooser->form()["URLs"].items(), (std::vector<std::string>{d, b, c, a}));

    click(*chooser, "BitBtn1"); // "Insert Link"
    EXPECT_EQ(band.links, (std::vector<std::string>{d}));
    EXPECT_FALSE(chooser->Visible());

    // "Add document" hands back the chosen file as a file address.
    std::string file = (home->path() / "My report.txt").string();
    std::ofstream(file) << "report";
    ui::ScriptedDialogs files;
    ui::ScopedDialogs installed(files);
    files.queue(ui::ScriptedDialogs::Reply(std::in_place_type<std::optional<std::string>>, file));
    chooser->Show();
    click(*chooser, "ToolButton1");
    ASSERT_EQ(band.links.size(), 2u);
    EXPECT_EQ(band.links[1], dialogs::fileAddress(file));
    EXPECT_EQ(band.links[1].rfind("file:///", 0), 0u);
    EXPECT_EQ(band.links[1].find('\\'), std::string::npos);
}

TEST_F(DialogsEngine, AMailtoLocationFillsTheEmailPage) {
    band.forImage = false;
    chooser->Show();
    chooser->WebBrowser1()->Navigate("mailto:ann@example.org?subject=Boat trip");
    Settle(300);
    chooser->Hide();
    chooser->Show();
    EXPECT_EQ(chooser->form()["PageControl1"].activePage(), "TabSheet2");
    EXPECT_EQ(entryText(*chooser, "email"), "ann@example.org");
    EXPECT_EQ(entryText(*chooser, "subject"), "Boat trip");

    click(*chooser, "SpeedButton1");
    EXPECT_EQ(band.links, (std::vector<std::string>{"ann@example.org / Boat trip"}));
}
