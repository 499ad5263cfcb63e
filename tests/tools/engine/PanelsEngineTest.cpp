// Clicks on the objects of a page show their property panels; the panels,
// the picture commands and the link commands change the page's markup.

#include "BandEngineHost.h"

#include "support/ScriptedDialogs.h"
#include "tools/Links.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <filesystem>
#include <map>
#include <vector>

#include "../../platform/browser/LoopbackServer.h"

using namespace enginetest;

namespace {

constexpr const char* kPage =
    "<html><body>"
    "<p id=\"text\">Plain <span id=\"word\">word</span> and more text</p>"
    "<p><a id=\"link\" href=\"http://example.org/x\" target=\"_top\">a linked sentence</a></p>"
    "<p><img id=\"img\" src=\"pic.jpg\" width=\"40\" height=\"20\" alt=\"Hint\" hspace=\"3\" "
    "vspace=\"4\" border=\"1\"></p>"
    "<table id=\"tab\" border=\"6\" cellpadding=\"3\" cellspacing=\"4\" width=\"300\" "
    "bgcolor=\"#00ff00\" bordercolor=\"#0000ff\"><tr><td id=\"cell\">cell text</td></tr></table>"
    "</body></html>";

// A picture of a known size, for the natural width the engine reports.
std::string writePicture(const std::filesystem::path& path, int width, int height) {
    std::filesystem::create_directories(path.parent_path());
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    gdk_pixbuf_fill(pixbuf, 0xcc3300ff);
    gdk_pixbuf_save(pixbuf, path.c_str(), "jpeg", nullptr, nullptr);
    g_object_unref(pixbuf);
    return path.string();
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The links and images dialog as far as the band form reads it: its
// address and target boxes.
class LinkDialogDouble : public forms::FormObject {
public:
    LinkDialogDouble() : FormObject(description()) {}
    void Show() override { ++shown; }
    int shown = 0;

private:
    static forms::FormDesc description() {
        forms::FormDesc d = forms::namedForm("Ttestform");
        for (const char* name : {"URLs", "targetcombo"}) {
            forms::ControlDesc box;
            box.name = name;
            box.kind = forms::Kind::ComboBox;
            d.controls.push_back(box);
        }
        return d;
    }
};

} // namespace

class Panels : public BandEngineTest {
protected:
    void SetUp() override {
        BandEngineTest::SetUp();
        picture = writePicture(home->path() / "pic.jpg", 40, 20);
        auto dialog = std::make_unique<LinkDialogDouble>();
        linkDialog = dialog.get();
        shell::setProcessForm(shell::ProcessFormSlot::Gallery, std::move(dialog));
    }

    std::string outer(const std::string& selector) {
        return eval("document.querySelector('" + selector + "').outerHTML");
    }
    std::string bodyHtml() { return eval("document.body.innerHTML"); }
    std::string text(const std::string& control) { return (*form)[control].text(); }
    bool sensitive(const std::string& control) { return gtk_widget_is_sensitive(widget(control)); }
    std::vector<std::string> visiblePages() {
        std::vector<std::string> shown;
        for (const char* page : {"pgeneral", "ptable", "pimage", "HTMLSource"})
            if (gtk_widget_get_visible(widget(page)))
                shown.push_back(page);
        return shown;
    }
    std::string selectedTag() {
        std::string tag;
        if (form->FSelectedElement)
            form->FSelectedElement->get_tagName(&tag);
        return tag;
    }

    std::string picture;
    LinkDialogDouble* linkDialog = nullptr;
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs scoped{dialogs};
};

TEST_F(Panels, EachClickShowsThePanelFieldsToolsAndLinkStatusOfWhatWasClicked) {
    edit(kPage, "panels.htm");
    struct Case {
        const char* what;
        std::function<void()> click;
        std::vector<std::string> pages;
        std::map<std::string, std::string> fields;
        bool insertTools; // table, text box, rule: on for text, off for objects
        bool imageTool;
        std::string status;
        std::string selected;
        std::string shot = "";
    };
    std::string base = "file://" + home->path().string() + "/";
    std::vector<Case> cases = {
        {"text", [&] { clickAt("#text"); }, {"pgeneral"}, {}, true, true, "No Link", "BODY"},
        {"link",
         [&] { clickAt("#link"); },
         {"pgeneral"},
         {},
         true,
         true,
         "Link:http://example.org/x",
         "A"},
        {"image",
         [&] { clickOnMiddle("#img"); },
         {"pimage"},
         {{"iwidth", "40"},
          {"iheight", "20"},
          {"ialt", "Hint"},
          {"ivspace", "4"},
          {"ihspace", "3"},
          {"iborder", "1"},
          {"isrc", base + "pic.jpg"}},
         false,
         true,
         "No Link",
         "IMG",
         "40-image-panel.png"},
        {"table border",
         [&] {
             Rect r = ElementRect(host->view, "#tab");
             clickAtPoint(r.x + 2, r.centerY());
         },
         {"ptable"},
         {{"TWidth", "300"},
          {"tborder", "6"},
          {"Tcellspad", "3"},
          {"TcellSpa", "4"},
          {"Tcouleur", "#00ff00"},
          {"TBorderColor", "#0000ff"},
          {"Theight", ""},
          {"TBGImage", ""}},
         false,
         false,
         "No Link",
         "TABLE",
         "40-table-panel.png"},
        // A caret in a cell keeps the table as the element the tools work on.
        {"cell", [&] { clickAt("#cell"); }, {"pgeneral"}, {}, true, true, "No Link", "TABLE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        size_t before = dispatches();
        c.click();
        EXPECT_EQ(dispatches(), before + 2) << "one run for the mouse-up, one for the click";
        EXPECT_EQ(visiblePages(), c.pages);
        for (const auto& [field, value] : c.fields)
            EXPECT_EQ(text(field), value) << field;
        for (const char* tool : {"ToolButton5", "ToolButton28", "ToolButton13"})
            EXPECT_EQ(sensitive(tool), c.insertTools) << tool;
        EXPECT_EQ(sensitive("ToolButton11"), c.imageTool);
        EXPECT_EQ((*form)["StatusBar1"].panelText(1), c.status);
        bool inLink = c.status != "No Link";
        EXPECT_EQ(sensitive("Removelink1"), inLink);
        EXPECT_EQ((*form)["ToolButton16"].picture(),
                  inLink ? tools::kLinkPresentPicture : tools::kLinkPicture);
        EXPECT_EQ(selectedTag(), c.selected);
        if (!c.shot.empty())
            saveShot(c.shot);
    }
    EXPECT_EQ((*form)["tbackground"].color(), 0x00FF00); // #00ff00, red in the low byte
    // The link dialog was prefilled by the click on the link.
    EXPECT_EQ(linkDialog->form()["URLs"].text(), "http://example.org/x");
    EXPECT_EQ(linkDialog->form()["targetcombo"].text(), "_top");
    // Clicks show; they never write.
    EXPECT_NE(bodyHtml().find("<table id=\"tab\" border=\"6\" cellpadding=\"3\" cellspacing=\"4\" "
                              "width=\"300\" bgcolor=\"#00ff00\" bordercolor=\"#0000ff\">"),
              std::string::npos)
        << bodyHtml();
}

TEST_F(Panels, TheImagePanelWritesTheSelectedImageAndAnEmptiedWidthRemovesIt) {
    edit(kPage, "image-panel.htm");
    clickOnMiddle("#img");
    ASSERT_EQ(visiblePages(), std::vector<std::string>{"pimage"});

    typeAndEnter("iwidth", " ");
    EXPECT_EQ(outer("#img"), "<img id=\"img\" src=\"" + text("isrc") +
                                 "\" height=\"20\" alt=\"Hint\" hspace=\"3\" vspace=\"4\" "
                                 "border=\"1\">");
    EXPECT_EQ((*form)["StatusBar1"].panelText(0), "IMG");

    typeAndEnter("iborder", "");
    typeAndEnter("isrc", "other.jpg");
    typeAndEnter("iheight", "25");
    EXPECT_EQ(outer("#img"), "<img id=\"img\" src=\"other.jpg\" height=\"25\" alt=\"Hint\" "
                             "hspace=\"3\" vspace=\"4\" border=\"0\">");
}

TEST_F(Panels, TheTablePanelWritesTheSelectedTableAndEmptiedFieldsRemoveTheirAttributes) {
    edit(kPage, "table-panel.htm");
    Rect r = ElementRect(host->view, "#tab");
    clickAtPoint(r.x + 2, r.centerY());
    ASSERT_EQ(visiblePages(), std::vector<std::string>{"ptable"});

    typeAndEnter("tborder", "1");
    typeAndEnter("TWidth", "");
    EXPECT_EQ(outer("#tab").substr(0, outer("#tab").find("><tbody")),
              "<table id=\"tab\" border=\"1\" cellpadding=\"3\" cellspacing=\"4\" "
              "bgcolor=\"#00ff00\" bordercolor=\"#0000ff\"");

    typeAndEnter("TWidth", "50%");
    choose("Nobackgroundimage1");
    EXPECT_EQ(eval("document.querySelector('#tab').getAttribute('width')"), "50%");
    EXPECT_EQ(eval("document.querySelector('#tab').hasAttribute('background')"), "false");
    // A background picture from disk goes in by its file address.
    dialogs.queue(std::optional<std::string>(picture));
    choose("MenuItem5");
    EXPECT_EQ(eval("document.querySelector('#tab').getAttribute('background')"),
              "file://" + picture);

    // With the caret in the text, the panel has nothing to write to.
    clickAt("#text");
    std::string before = bodyHtml();
    form->TWidthExit();
    EXPECT_EQ(bodyHtml(), before);
}

TEST_F(Panels, PicturesFromDiskAndFromAnAddressGoInWithExactMarkupAndShow) {
    std::string local = writePicture(home->path() / "my pics" / "sun & sea #1.jpg", 37, 23);
    LoopbackServer server({{"/remote.jpg", bytesOf(local)}});
    edit("<html><body><p id=\"p\">x</p></body></html>", "insert.htm");

    clickAt("#p");
    dialogs.queue(std::optional<std::string>(local));
    press("ToolButton11"); // opens the menu of aligned pictures
    choose("Imagenormal1");
    std::string uri = "file://" + home->path().string() + "/my%20pics/sun%20%26%20sea%20%231.jpg";
    EXPECT_EQ(eval("document.querySelector('#p').innerHTML"), "<img src=\"" + uri + "\">x");

    form->insererimage(3, server.url("/remote.jpg"));
    EXPECT_EQ(eval("document.querySelector('#p').innerHTML"),
              "<img src=\"" + uri + "\"><img src=\"" + server.url("/remote.jpg") + "\">x");
    // Both show: the engine has their natural width.
    for (int i : {0, 1})
        EXPECT_TRUE(WaitUntil([&] {
            return eval("document.images[" + std::to_string(i) + "].naturalWidth") == "37";
        })) << i;
}

TEST_F(Panels, ChoosingAPictureWithAnImageSelectedReplacesItsSource) {
    edit(kPage, "replace.htm");
    std::string local = writePicture(home->path() / "new.jpg", 30, 10);
    std::string before = bodyHtml();

    clickOnMiddle("#img");
    dialogs.queue(std::optional<std::string>(local));
    choose("Imagenormal1");
    std::string expected = before;
    std::string oldImage = "<img id=\"img\" src=\"pic.jpg\"";
    expected.replace(expected.find(oldImage), oldImage.size(),
                     "<img id=\"img\" src=\"file://" + local + "\"");
    EXPECT_EQ(bodyHtml(), expected);

    // A picture picked on a website brings its size along.
    form->FChosenWidth = "60";
    form->FChosenHeight = "30";
    form->insererimage(3, "http://127.0.0.1:9/web.gif");
    EXPECT_EQ(outer("#img"), "<img id=\"img\" src=\"http://127.0.0.1:9/web.gif\" width=\"60\" "
                             "height=\"30\" alt=\"Hint\" hspace=\"3\" vspace=\"4\" border=\"1\">");
}

TEST_F(Panels, PicturesAreRefusedWhereTheyCannotGoAndACancelledChooserChangesNothing) {
    edit(kPage, "refused.htm");
    std::string before = bodyHtml();
    Rect r = ElementRect(host->view, "#tab");
    clickAtPoint(r.x + 2, r.centerY());

    choose("MenuItem1"); // a positioned picture from disk
    form->insererimage(2, "http://127.0.0.1:9/a.gif");
    ASSERT_EQ(dialogs.shown().size(), 2u);
    for (const auto& box : dialogs.shown()) {
        EXPECT_EQ(box.kind, ui::ScriptedDialogs::Kind::Message);
        EXPECT_EQ(box.text, "Please select an editable part of of the text");
        EXPECT_EQ(box.caption, "Error");
    }
    // An aligned picture with a table selected: no chooser, no change.
    choose("Imagenormal1");
    EXPECT_EQ(dialogs.shown().size(), 2u);

    clickAt("#text");
    dialogs.queue(std::optional<std::string>());
    choose("Imagenormal1");
    ASSERT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(dialogs.shown().back().kind, ui::ScriptedDialogs::Kind::OpenFile);
    EXPECT_EQ(bodyHtml(), before);
}

TEST_F(Panels, WordsAndImagesBecomeLinksWithTheTargetOfTheLinkDialog) {
    edit(kPage, "links.htm");
    forms::Control& target = linkDialog->form()["targetcombo"];

    dragAcross("#word");
    ASSERT_EQ(eval("getSelection().toString()"), "word");
    target.setText("New Window");
    form->creerlien("http://example.com/w");
    EXPECT_EQ(eval("document.querySelector('#text').innerHTML"),
              "Plain <span id=\"word\"><a href=\"http://example.com/w\" target=\"New Window\">"
              "word</a></span> and more text");

    clickOnMiddle("#img");
    target.setText("Default");
    form->creerlien("http://example.com/i");
    EXPECT_EQ(eval("document.querySelector('#img').parentElement.outerHTML.replace(/<img[^>]*>/, "
                   "'IMG')"),
              "<a href=\"http://example.com/i\" target=\"\">IMG</a>");
    // The click on the linked image shows its link.
    clickOnMiddle("#img");
    EXPECT_EQ((*form)["StatusBar1"].panelText(1), "Link:http://example.com/i");
}

TEST_F(Panels, RemoveLinkLeavesABoldLinkedWordPlain) {
    edit("<html><body><p id=\"p\">see <a href=\"http://example.org/\"><b id=\"b\">this</b></a> "
         "now</p><p id=\"q\">go <a id=\"a\" href=\"http://example.org/c\">there</a> now</p>"
         "</body></html>",
         "unlink.htm");
    dragAcross("#b");
    ASSERT_EQ(eval("getSelection().toString()"), "this");
    ASSERT_TRUE(sensitive("Removelink1"));
    choose("Removelink1");
    EXPECT_EQ(eval("document.querySelector('#p').innerHTML"), "see this now");

    // With only the caret in a link, the whole link goes.
    clickOnMiddle("#a");
    ASSERT_EQ((*form)["StatusBar1"].panelText(1), "Link:http://example.org/c");
    choose("Removelink1");
    EXPECT_EQ(eval("document.querySelector('#q').innerHTML"), "go there now");
    clickAt("#q");
    EXPECT_FALSE(sensitive("Removelink1"));
}

TEST_F(Panels, AnEmailLinkKeepsItsWholeSubject) {
    edit(kPage, "email.htm");
    dragAcross("#word");
    form->creerlien(tools::mailtoAddress("info@example.org", "Q&A #2? 100%"));
    EXPECT_EQ(eval("document.querySelector('#word a').getAttribute('href')"),
              "mailto:info@example.org?subject=Q%26A %232%3F 100%25");
    EXPECT_EQ(eval("document.querySelector('#word a').target"), "");
}
