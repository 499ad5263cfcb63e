// The document model: attributes, tables, page properties, the glyph
// table and saving, on the real engine.

#include "EngineView.h"

#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using browser::Value;
using enginetest::engine;
using enginetest::EngineView;

namespace {

browser::Document show(const std::string& html) {
    engine().load(html);
    return engine().document();
}

browser::Element byId(const browser::Document& doc, const std::string& id) {
    auto all = doc.all();
    for (long i = 0; i < all.length(); ++i) {
        auto e = all.item(i);
        if (e.id() == id)
            return e;
    }
    throw std::runtime_error("no element " + id);
}

TEST(EngineDocument, AttributesAreNullWhenAbsentAndRemovedByNull) {
    auto doc = show("<html><body><a id=\"a\" href=\"x.htm\" target=\"_top\">x</a></body></html>");
    auto a = byId(doc, "a");
    EXPECT_TRUE(a.getAttribute("title", 0).isNull());
    EXPECT_EQ(a.getAttribute("target", 0).toText(), "_top");
    // Flags 0 read the address as the page resolves it, flags 2 as written.
    EXPECT_EQ(a.getAttribute("href", 0).toText(), "file://" + engine().folder() + "/x.htm");
    EXPECT_EQ(a.getAttribute("href", 2).toText(), "x.htm");

    a.setAttribute("target", "", 0);
    EXPECT_EQ(a.getAttribute("target", 0).toText(), "");
    EXPECT_FALSE(a.getAttribute("target", 0).isNull());
    a.setAttribute("target", Value(), 0);
    EXPECT_TRUE(a.getAttribute("target", 0).isNull());
    a.setAttribute("width", 120, 0);
    EXPECT_EQ(a.getAttribute("width", 0).toText(), "120");
    EXPECT_EQ(a.outerHTML(), "<a id=\"a\" href=\"x.htm\" width=\"120\">x</a>");
    EXPECT_EQ(a.parentElement().tagName(), "BODY");
    EXPECT_TRUE(a.parentElement().parentElement().parentElement().isNull());
    EXPECT_TRUE(a.parentElement().sameNode(doc.body()));
}

TEST(EngineDocument, TableRowsAndCellsAreInsertedAndDeleted) {
    auto doc = show("<html><body><table id=\"t\"><tr><td>1</td><td>2</td><td>3</td></tr>"
                    "<tr><td>4</td><td>5</td><td>6</td></tr></table></body></html>");
    auto table = byId(doc, "t");
    auto rows = table.rows();
    ASSERT_EQ(rows.length(), 2);
    long cells = rows.item(0).cells().length();
    EXPECT_EQ(cells, 3);

    auto row = table.insertRow(rows.length());
    for (long i = 0; i < cells; ++i)
        row.insertCell(i);
    EXPECT_EQ(rows.length(), 3);
    EXPECT_EQ(rows.item(2).outerHTML(), "<tr><td></td><td></td><td></td></tr>");

    for (long i = 0; i < rows.length(); ++i)
        rows.item(i).insertCell(cells);
    EXPECT_EQ(rows.item(0).cells().length(), 4);
    table.deleteRow(rows.length() - 1);
    EXPECT_EQ(rows.length(), 2);
    rows.item(1).deleteCell(3);
    EXPECT_EQ(rows.item(1).cells().length(), 3);

    EXPECT_THROW(rows.item(1).deleteCell(7), browser::BrowserError);
    EXPECT_THROW(doc.body().insertRow(0), browser::BrowserError);
    EXPECT_TRUE(rows.item(5).isNull());
}

TEST(EngineDocument, TitleBackgroundAndMetaAreReadAndWritten) {
    auto doc = show("<html><head><title>Old</title><meta name=\"Keywords\" content=\"a, b\">"
                    "<meta name=\"DESCRIPTION\" content=\"About\"></head><body>x</body></html>");
    EXPECT_EQ(doc.title(), "Old");
    EXPECT_EQ(doc.bgColor(), "");
    doc.setTitle("New");
    doc.setBgColor("#ff0000");
    EXPECT_EQ(doc.title(), "New");
    EXPECT_EQ(doc.bgColor(), "#ff0000");
    EXPECT_EQ(doc.body().getAttribute("bgcolor").toText(), "#ff0000");
    doc.body().setAttribute("background", "back.gif");

    auto metas = doc.all().tags("meta");
    ASSERT_EQ(metas.length(), 2);
    EXPECT_EQ(metas.item(0).metaName(), "Keywords");
    EXPECT_EQ(metas.item(1).metaContent(), "About");
    metas.item(0).setMetaContent("c\r\nd");
    EXPECT_EQ(metas.item(0).getAttribute("content").toText(), "c\r\nd");
    EXPECT_THROW(doc.body().metaContent(), browser::BrowserError);
    EXPECT_EQ(doc.all().tags("HTML").item(0).outerHTML().find("<html><head><title>New</title>"),
              0u);
}

TEST(EngineDocument, GlyphsAndZeroBorderOutlinesAreShownAndHidden) {
    const unsigned blue = 0x0000FF;
    std::string folder = engine().folder() + "/";
    for (const char* name : {"br.gif", "linkpetit.gif", "imagepetit.gif", "tablepetit.gif"})
        EngineView::writePicture(folder + name, blue);
    auto doc = show("<html><body style=\"margin:20px\"><p>line one<br id=\"br\">line two</p>"
                    "<p><a id=\"a\" href=\"x\">link</a></p><p><img id=\"img\" src=\"none.gif\" "
                    "width=\"40\" height=\"40\"></p><table border=\"0\" id=\"z\"><tr><td>c</td>"
                    "</tr></table><table border=\"1\" id=\"b\"><tr><td>c</td></tr></table></body>"
                    "</html>");
    std::string markup = doc.all().tags("html").item(0).outerHTML();
    long count = doc.all().length();
    std::string tail = "^^%%0^^%%3^^%%3^^%%4^^%%11^^%%11^^%%11^^%%11^^**";
    doc.exec(IDM_SHOWZEROBORDERATDESIGNTIME, true);
    doc.exec(IDM_ADDTOGLYPHTABLE, "%%br^^%%" + folder + "br.gif" + tail);
    doc.exec(IDM_ADDTOGLYPHTABLE, "%%a^^%%" + folder + "linkpetit.gif" + tail);
    doc.exec(IDM_ADDTOGLYPHTABLE, "%%img^^%%" + folder + "imagepetit.gif" + tail);
    doc.exec(IDM_ADDTOGLYPHTABLE, "%%table^^%%" + folder + "tablepetit.gif" + tail);

    // Each picture shows just before its element, once the page is drawn.
    auto breakBox = engine().rect("#br");
    auto at = [&](const char* selector) {
        auto r = engine().rect(selector);
        return engine().pixel(r.x + 5, r.y + 5);
    };
    enginetest::WaitUntil([&] { return at("#z") == blue && at("#img") == blue; }, 5000);
    EXPECT_EQ(engine().pixel(breakBox.x + 5, breakBox.y + 5), blue);
    EXPECT_EQ(at("#a"), blue);
    EXPECT_EQ(at("#img"), blue);
    EXPECT_EQ(at("#z"), blue);
    EXPECT_EQ(engine().eval("getComputedStyle(document.getElementById('z')).outlineStyle"),
              "dotted");
    EXPECT_EQ(engine().eval("getComputedStyle(document.getElementById('b')).outlineStyle"), "none");
    // The glyphs are shown, never written into the page.
    EXPECT_EQ(doc.all().tags("html").item(0).outerHTML(), markup);
    EXPECT_EQ(doc.all().length(), count);

    doc.exec(IDM_EMPTYGLYPHTABLE, true);
    doc.exec(IDM_SHOWZEROBORDERATDESIGNTIME, false);
    enginetest::WaitUntil([&] { return at("#a") != blue; }, 5000);
    EXPECT_NE(engine().pixel(breakBox.x + 5, breakBox.y + 5), blue);
    EXPECT_NE(at("#a"), blue);
    EXPECT_NE(at("#img"), blue);
    EXPECT_EQ(engine().eval("getComputedStyle(document.getElementById('z')).outlineStyle"), "none");
    EXPECT_THROW(doc.exec(2999, true), browser::BrowserError);
}

TEST(EngineDocument, SaveAsWritesTheEditedDocument) {
    auto doc = show("<!DOCTYPE html><html><head><title>S</title></head><body><p>Saved</p></body>"
                    "</html>");
    doc.setDesignMode("On");
    doc.body().setInnerHTML("<p>Edited</p>");
    std::string path = engine().folder() + "/saved.htm";
    EXPECT_TRUE(doc.execCommand("SaveAs", false, path));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "<!DOCTYPE html>\n<html><head><title>S</title></head><body><p>Edited</p>"
                          "</body></html>");

    std::string chosen = engine().folder() + "/chosen.htm";
    std::string suggested;
    engine().browserObject()->setSaveAsChooser([&](const std::string& name) {
        suggested = name;
        return chosen;
    });
    EXPECT_TRUE(doc.execCommand("SaveAs", false, ""));
    EXPECT_EQ(suggested, "page.htm");
    EXPECT_TRUE(g_file_test(chosen.c_str(), G_FILE_TEST_EXISTS));
    engine().browserObject()->setSaveAsChooser([](const std::string&) { return std::string(); });
    EXPECT_FALSE(doc.execCommand("SaveAs", false, ""));
    EXPECT_THROW(doc.execCommand("SaveAs", false, "/nonexistent-folder/x.htm"),
                 browser::BrowserError);
}

TEST(EngineDocument, PrintWritesThePageToTheChosenPrinter) {
    auto doc = show("<html><body><p>Printed page</p></body></html>");
    std::string pdf = engine().folder() + "/printed.pdf";
    GtkPrintSettings* settings = gtk_print_settings_new();
    gtk_print_settings_set_printer(settings, "Print to File");
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_URI, ("file://" + pdf).c_str());
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    engine().browserObject()->setPrintSettings(settings);
    g_object_unref(settings);
    EXPECT_TRUE(doc.execCommand("print", false));
    EXPECT_TRUE(
        enginetest::WaitUntil([&] { return g_file_test(pdf.c_str(), G_FILE_TEST_EXISTS); }, 10000));
    engine().browserObject()->setPrintSettings(nullptr);
}

TEST(EngineDocument, DesignModeAndActiveElement) {
    auto doc = show("<html><body><input id=\"i\"></body></html>");
    EXPECT_EQ(doc.designMode(), "Off");
    doc.setDesignMode("On");
    EXPECT_EQ(doc.designMode(), "On");
    engine().eval("document.getElementById('i').focus()");
    EXPECT_EQ(doc.activeElement().id(), "i");
    EXPECT_EQ(doc.url(), engine().browser().locationURL());
    // The page's own scripts cannot reach the editing layer.
    EXPECT_EQ(engine().eval("typeof window.__tavrisk"), "undefined");
}

} // namespace
