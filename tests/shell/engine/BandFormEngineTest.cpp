// The band form in a real window beside a real web view: its own buttons
// edit a local page.

#include "forms/gtk/FormView.h"
#include "platform/browser/ErrorInfo.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "platform/webkit/WebKitBrowser.h"
#include "platform/window/Windows.h"
#include "shell/BandForm.h"
#include "shell/ProcessForms.h"
#include "support/TempHome.h"
#include "support/WebViewDriver.h"
#include "tools/Colors.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>

using namespace enginetest;

namespace {

// A host window as the bar meets it: a frame with the page's view and a bar
// area, registered under the browser's window classes.
struct Host {
    Host() {
        if (!gtk_init_check(nullptr, nullptr))
            throw std::runtime_error("No display: run the engine tests under xvfb-run");
        win::SetBackend(&backend);
        window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(window), 1024, 700);
        GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_container_add(GTK_CONTAINER(window), box);
        GtkWidget* docView = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        view = WEBKIT_WEB_VIEW(webkit_web_view_new());
        gtk_box_pack_start(GTK_BOX(docView), GTK_WIDGET(view), TRUE, TRUE, 0);
        gtk_box_pack_start(GTK_BOX(box), docView, TRUE, TRUE, 0);
        GtkWidget* bars = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_box_pack_start(GTK_BOX(box), bars, FALSE, FALSE, 0);

        frame = backend.adopt(window, {"IEFrame", "Tavrisk", nullptr, 1024, 700});
        HWND shellView = backend.adopt(docView, {"Shell DocObject View", "", frame, 1024, 480});
        backend.adopt(GTK_WIDGET(view), {"Internet Explorer_Server", "", shellView, 1024, 480});
        barArea = backend.adopt(bars, {"BarArea", "", frame, 1024, 200});
        gtk_widget_show_all(window);
        browser = webkit::WebKitBrowser::create(view);
        WaitUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(view)); }, 5000);
    }

    gtkplatform::GtkWindowBackend backend{[](int) {}};
    GtkWidget* window = nullptr;
    WebKitWebView* view = nullptr;
    HWND frame = nullptr;
    HWND barArea = nullptr;
    ComPtr<webkit::WebKitBrowser> browser;
};

} // namespace

class BandFormEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = new TempHome;
        host = new Host;
    }
    // The window and web view stay for the process; the files go.
    static void TearDownTestSuite() {
        delete home;
        home = nullptr;
    }

    void SetUp() override {
        form = std::make_unique<TBandForm>(host->barArea);
        form->setBrowser(ComPtr<IWebBrowser2>(host->browser.get()));
        ASSERT_NE(form->view(), nullptr);
        Settle(50);
    }

    void TearDown() override {
        form.reset();
        shell::destroyProcessForms();
        win::TakeQuitRequest();
    }

    std::string load(const std::string& html, const std::string& name) {
        std::string path = (home->path() / name).string();
        std::ofstream(path, std::ios::binary) << html;
        navigate("file://" + path);
        return path;
    }
    void navigate(const std::string& url) {
        host->browser->Navigate(url.c_str());
        ASSERT_TRUE(WaitUntil([&] {
            BOOL busy = TRUE;
            host->browser->get_Busy(&busy);
            return !busy;
        }));
        Settle(100);
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
        EXPECT_TRUE(gtk_widget_is_sensitive(w)) << name;
        if (GTK_IS_TOGGLE_TOOL_BUTTON(w))
            gtk_toggle_tool_button_set_active(
                GTK_TOGGLE_TOOL_BUTTON(w),
                !gtk_toggle_tool_button_get_active(GTK_TOGGLE_TOOL_BUTTON(w)));
        else
            g_signal_emit_by_name(w, "clicked");
        Settle(100);
    }
    void mouse(Mouse what, double x, double y) { SendMouse(GTK_WIDGET(host->view), what, x, y); }
    void clickAt(const std::string& selector) {
        Rect r = ElementRect(host->view, selector);
        mouse(Mouse::Move, r.x + 2, r.centerY());
        mouse(Mouse::Press, r.x + 2, r.centerY());
        mouse(Mouse::Release, r.x + 2, r.centerY());
        Settle(200);
    }
    void dragAcross(const std::string& selector) {
        Rect r = ElementRect(host->view, selector);
        mouse(Mouse::Move, r.x + 1, r.centerY());
        mouse(Mouse::Press, r.x + 1, r.centerY());
        for (int i = 1; i <= 5; ++i)
            mouse(Mouse::Move, r.x + 1 + (r.width - 2) * i / 5, r.centerY());
        mouse(Mouse::Release, r.x + r.width - 1, r.centerY());
        Settle(150);
    }
    std::string linkGlyph() {
        return eval("getComputedStyle(document.querySelector('a'),'::before').content");
    }

    static TempHome* home;
    static Host* host;
    std::unique_ptr<TBandForm> form;
};

TempHome* BandFormEngine::home = nullptr;
Host* BandFormEngine::host = nullptr;

TEST_F(BandFormEngine, EditsALocalPageThroughTheBandsOwnButtons) {
    load("<html><body><p id=\"p\">Hello <span id=\"w\">brave</span> world</p>"
         "<p><a href=\"http://example.org/\">a link</a></p></body></html>",
         "page.htm");
    EXPECT_FALSE(gtk_widget_is_sensitive(widget("btnBold")));

    press("designmode");
    EXPECT_TRUE((*form)["designmode"].down());
    EXPECT_EQ(eval("document.designMode"), "on");
    EXPECT_EQ((*form)["designmode"].caption(), "Publish");
    EXPECT_TRUE(gtk_widget_is_sensitive(widget("btnBold")));
    // Glyphs are shown on entry.
    EXPECT_EQ(linkGlyph().rfind("url(", 0), 0u) << linkGlyph();

    dragAcross("#w");
    ASSERT_EQ(eval("window.getSelection().toString()"), "brave");
    press("btnBold");
    press("btnIndentRight"); // hint "Indent"
    GtkWidget* picker = gtk_bin_get_child(GTK_BIN(widget("cmdcolor")));
    GtkMenu* palette = gtk_menu_button_get_popup(GTK_MENU_BUTTON(picker));
    GList* entries = gtk_container_get_children(GTK_CONTAINER(palette));
    gtk_menu_item_activate(GTK_MENU_ITEM(g_list_nth_data(entries, 9))); // red
    g_list_free(entries);
    Settle(100);

    std::string saved = (home->path() / "saved.htm").string();
    BOOL done = FALSE;
    ComPtr<IHTMLDocument2> document;
    ASSERT_EQ(host->browser->get_Document(document.put()), S_OK);
    ASSERT_EQ(document->execCommand("SaveAs", FALSE, browser::Value(saved), &done), S_OK)
        << browser::LastError();
    std::stringstream text;
    text << std::ifstream(saved).rdbuf();
    std::string html = text.str();
    // Only the selected word is bold and red; its paragraph is indented.
    EXPECT_TRUE(std::regex_search(html, std::regex(R"(<b><font color="#ff0000">brave</font></b>)")))
        << html;
    EXPECT_TRUE(std::regex_search(html, std::regex(R"(<blockquote[^>]*><p id="p">Hello <span)")))
        << html;
    EXPECT_EQ(html.find("<b>Hello"), std::string::npos) << html;

    press("pi");
    EXPECT_EQ(linkGlyph(), "none");
    EXPECT_EQ((*form)["pi"].hint(), "Show glyphs");

    load("<html><body><p>elsewhere</p></body></html>", "other.htm");
    EXPECT_FALSE((*form)["designmode"].down());
    EXPECT_FALSE(gtk_toggle_tool_button_get_active(GTK_TOGGLE_TOOL_BUTTON(widget("designmode"))));
    EXPECT_EQ(eval("document.designMode"), "off");
    EXPECT_FALSE(gtk_widget_is_sensitive(widget("btnBold")));
}

TEST_F(BandFormEngine, AClickInTheTextShowsItsFormattingAndChangesNothing) {
    load("<html><body><p>Plain <span id=\"plain\">words</span></p>"
         "<p><b><font color=\"#ff0000\" face=\"Georgia\" id=\"red\">red words</font></b></p>"
         "</body></html>",
         "formatted.htm");
    press("designmode");
    std::string before = eval("document.body.innerHTML");

    clickAt("#red");
    EXPECT_TRUE((*form)["btnBold"].down());
    EXPECT_EQ((*form)["cmdcolor"].color(), 0x0000FF); // red in the low byte
    EXPECT_EQ((*form)["cmbFontName"].text(), "Georgia");
    // Selecting plain words with the mouse shows their formatting too.
    dragAcross("#plain");
    ASSERT_EQ(eval("window.getSelection().toString()"), "words");
    EXPECT_FALSE((*form)["btnBold"].down());
    EXPECT_EQ((*form)["cmdcolor"].color(), 0);

    EXPECT_EQ(eval("document.body.innerHTML"), before);
}

TEST_F(BandFormEngine, TheViewShowsTheFormsInitialState) {
    EXPECT_TRUE(gtk_widget_get_visible(widget("designmode")));
    gchar* tooltip = gtk_widget_get_tooltip_text(widget("btnIndentLeft"));
    EXPECT_STREQ(tooltip, "Outdent");
    g_free(tooltip);
    EXPECT_FALSE(gtk_widget_get_visible(widget("ToolButton14")));
    EXPECT_FALSE(gtk_widget_get_visible(widget("Memo1")));
    EXPECT_TRUE(gtk_widget_get_visible(widget("pgeneral")));
    EXPECT_FALSE(gtk_widget_get_visible(widget("ptable")));
    GtkComboBox* sizes = GTK_COMBO_BOX(gtk_bin_get_child(GTK_BIN(widget("cmbFontSize"))));
    EXPECT_EQ(gtk_tree_model_iter_n_children(gtk_combo_box_get_model(sizes), nullptr), 21);
    EXPECT_EQ(gtk_notebook_get_tab_pos(GTK_NOTEBOOK(widget("PageControl1"))), GTK_POS_LEFT);

    // The button face is the theme's, as the picker starts with it.
    GdkRGBA face;
    ASSERT_TRUE(gtk_style_context_lookup_color(gtk_widget_get_style_context(widget("btnBold")),
                                               "theme_bg_color", &face));
    char expected[8];
    std::snprintf(expected, sizeof expected, "#%.2x%.2x%.2x", int(face.red * 255 + 0.5),
                  int(face.green * 255 + 0.5), int(face.blue * 255 + 0.5));
    EXPECT_EQ(tools::ColorToHtml(forms::clBtnFace), expected);
}
