// The band form in a real window beside a real web view: its own buttons
// edit a local page.

#include "forms/gtk/FormView.h"
#include "platform/browser/ErrorInfo.h"
#include "platform/gtk/GtkWindowBackend.h"
#include "support/ScriptedDialogs.h"
#include "platform/webkit/WebKitBrowser.h"
#include "platform/window/Windows.h"
#include "shell/BandForm.h"
#include "shell/BrowserClick.h"
#include "shell/ProcessForms.h"
#include "support/BarHost.h"
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

class BandFormEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = new TempHome;
        host = new BarHost;
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
        ASSERT_TRUE(WaitUntil([&] { return gtk_widget_get_mapped(widget("designmode")); }));
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
        ASSERT_TRUE(host->navigate(url));
        ASSERT_TRUE(WaitUntil([&] { return eval("document.readyState") == "complete"; }));
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
    }
    void mouse(Mouse what, double x, double y) { SendMouse(GTK_WIDGET(host->view), what, x, y); }
    // Counts the dispatches of the form's click sink (one for the
    // document's mouse-up, one for its click).
    void countDispatches() {
        ASSERT_NE(form->FClickSink, nullptr);
        if (countedSink == form->FClickSink)
            return;
        countedSink = form->FClickSink;
        auto dispatch = countedSink->OnClick;
        countedSink->OnClick = [this, dispatch](TBrowserClick& sink) {
            dispatch(sink);
            ++dispatches;
        };
    }
    void clickAt(const std::string& selector) {
        countDispatches();
        int before = dispatches;
        Rect r = ElementRect(host->view, selector);
        mouse(Mouse::Move, r.x + 2, r.centerY());
        mouse(Mouse::Press, r.x + 2, r.centerY());
        mouse(Mouse::Release, r.x + 2, r.centerY());
        ASSERT_TRUE(WaitUntil([&] { return dispatches >= before + 2; })) << selector;
    }
    void dragAcross(const std::string& selector) {
        countDispatches();
        int before = dispatches;
        Rect r = ElementRect(host->view, selector);
        mouse(Mouse::Move, r.x + 1, r.centerY());
        mouse(Mouse::Press, r.x + 1, r.centerY());
        for (int i = 1; i <= 5; ++i)
            mouse(Mouse::Move, r.x + 1 + (r.width - 2) * i / 5, r.centerY());
        mouse(Mouse::Release, r.x + r.width - 1, r.centerY());
        ASSERT_TRUE(WaitUntil([&] { return dispatches > before; })) << selector;
    }
    // Glyph pictures are laid over the page from a layer of their own,
    // there only while glyphs are shown.
    std::string glyphLayer() {
        return eval("document.querySelector('tavrisk-glyphs') ? 'shown' : 'none'");
    }

    static TempHome* home;
    static BarHost* host;
    std::unique_ptr<TBandForm> form;
    TBrowserClick* countedSink = nullptr;
    int dispatches = 0;
};

TempHome* BandFormEngine::home = nullptr;
BarHost* BandFormEngine::host = nullptr;

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
    EXPECT_EQ(glyphLayer(), "shown");

    dragAcross("#w");
    ASSERT_EQ(eval("window.getSelection().toString()"), "brave");
    press("btnBold");
    press("btnIndentRight"); // hint "Indent"
    GtkWidget* picker = gtk_bin_get_child(GTK_BIN(widget("cmdcolor")));
    GtkMenu* palette = gtk_menu_button_get_popup(GTK_MENU_BUTTON(picker));
    GList* entries = gtk_container_get_children(GTK_CONTAINER(palette));
    gtk_menu_item_activate(GTK_MENU_ITEM(g_list_nth_data(entries, 9))); // red
    g_list_free(entries);

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
    EXPECT_EQ(glyphLayer(), "none");
    EXPECT_EQ((*form)["pi"].hint(), "Show glyphs");

    // Leaving the edited page asks first; the answer here is to leave.
    ui::ScriptedDialogs leave;
    ui::ScopedDialogs scoped(leave);
    leave.queue(ui::Answer::Ok);
    load("<html><body><p>elsewhere</p></body></html>", "other.htm");
    EXPECT_EQ(leave.shown().size(), 1u);
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

// Selecting the text of a font box to type over it makes that text the
// primary selection, which the page's selection then gives way to.
TEST_F(BandFormEngine, TypingIntoTheFontBoxesAppliesToThePagesSelection) {
    load("<html><body><p>Hello <span id=\"w\">brave</span> world</p></body></html>", "fonts.htm");
    press("designmode");
    dragAcross("#w");
    ASSERT_EQ(eval("window.getSelection().toString()"), "brave");
    ASSERT_TRUE(ActivateWindow(widget("designmode")));

    struct Box {
        const char* name;
        const char* typed;
        const char* markup;
    };
    for (const Box& box : {Box{"cmbFontName", "Georgia", R"(<font face="Georgia">brave</font>)"},
                           Box{"cmbFontSize", "5", R"(<font [^>]*size="5"[^>]*>brave</font>)"}}) {
        GtkWidget* entry = gtk_bin_get_child(GTK_BIN(gtk_bin_get_child(GTK_BIN(widget(box.name)))));
        gtk_widget_grab_focus(entry);
        ASSERT_TRUE(WaitUntil([&] { return gtk_widget_has_focus(entry) != FALSE; })) << box.name;
        // The box's text selected, then typed over, as a user does.
        SendKey(entry, GDK_KEY_a, GDK_CONTROL_MASK);
        TypeText(entry, box.typed);
        ASSERT_STREQ(gtk_entry_get_text(GTK_ENTRY(entry)), box.typed);
        SendKey(entry, GDK_KEY_Return);
        std::string html = eval("document.body.innerHTML");
        EXPECT_TRUE(std::regex_search(html, std::regex(box.markup))) << box.name << ": " << html;
        EXPECT_EQ(html.find("<font face=\"Georgia\">Hello"), std::string::npos) << html;
    }
}

namespace {

// Counts the frames the browser reports as loaded.
class FrameCompletions : public com::ComObject<DWebBrowserEvents2> {
public:
    int frames = 0;
    HRESULT BeforeNavigate2(const char*, const char*, BOOL*) override { return S_OK; }
    HRESULT DocumentComplete(const char*, BOOL isTopLevel) override {
        frames += isTopLevel ? 0 : 1;
        return S_OK;
    }
    HRESULT NewWindow2(const char*, BOOL*) override { return S_OK; }
    HRESULT NavigateError(const char*, long, BOOL*) override { return S_OK; }
    HRESULT ProgressChange(long, long) override { return S_OK; }
};

} // namespace

TEST_F(BandFormEngine, AFrameThatLoadsWhileThePageIsEditedLeavesEditingOn) {
    load("<html><body>A frame</body></html>", "late-frame.htm");
    load("<html><body><p id=\"t\">Text</p><iframe id=\"f\"></iframe><script>"
         "setTimeout(() => { document.getElementById('f').src = 'late-frame.htm'; }, 400);"
         "</script></body></html>",
         "with-late-frame.htm");
    ComPtr<FrameCompletions> watch(new FrameCompletions);
    DWORD cookie = 0;
    ASSERT_EQ(host->browser->Advise(watch.get(), &cookie), S_OK);
    press("designmode");
    ASSERT_EQ(eval("document.designMode"), "on");

    EXPECT_TRUE(WaitUntil([&] { return watch->frames > 0; }));
    Settle(200);
    host->browser->Unadvise(cookie);
    EXPECT_EQ(eval("document.designMode"), "on");
    EXPECT_TRUE((*form)["designmode"].down());
    EXPECT_EQ((*form)["designmode"].caption(), "Publish");
    EXPECT_TRUE((*form)["btnBold"].enabled());
}
