// The handles of the selected object, driven by real mouse events with the
// glyphs shown, as edit mode shows them: sizes written are what the pointer
// shows, positioned boxes move with the pointer, one resize is one undo step.

#include "EngineView.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>

using enginetest::engine;
using enginetest::EngineView;
using enginetest::Rect;

namespace {

const unsigned kGlyphColour = 0x0000FF;
const unsigned kHandleFill = 0xFFFFFF;

const unsigned kImageColour = 0x00A000;

// The glyph table and zero-border outlines of edit mode.
void showGlyphs(const browser::Document& doc) {
    std::string folder = engine().folder() + "/";
    for (const char* name : {"br.gif", "linkpetit.gif", "imagepetit.gif", "tablepetit.gif"})
        EngineView::writePicture(folder + name, kGlyphColour);
    std::string tail = "^^%%0^^%%3^^%%3^^%%4^^%%11^^%%11^^%%11^^%%11^^**";
    doc.exec(IDM_SHOWZEROBORDERATDESIGNTIME, true);
    const std::pair<const char*, const char*> entries[] = {{"br", "br.gif"},
                                                           {"a", "linkpetit.gif"},
                                                           {"img", "imagepetit.gif"},
                                                           {"table", "tablepetit.gif"}};
    for (const auto& [tag, picture] : entries)
        doc.exec(IDM_ADDTOGLYPHTABLE, "%%" + std::string(tag) + "^^%%" + folder + picture + tail);
    engine().settle(150);
}

// A page in edit mode as the band form leaves it: glyphs shown, objects
// resized and moved by the pointer.
browser::Document editPage(const std::string& body) {
    EngineView::writePicture(engine().folder() + "/pic.png", kImageColour);
    engine().load("<html><body style=\"margin:20px;background:#ffe0e0\">" + body +
                  "</body></html>");
    auto doc = engine().document();
    doc.setDesignMode("On");
    doc.execCommand("LiveResize", false, true);
    doc.execCommand("2D-Position", false, true);
    showGlyphs(doc);
    return doc;
}

std::string imageTag(const std::string& extra = "") {
    return "<img id=\"pic\" src=\"pic.png\" width=\"60\" height=\"40\"" + extra + ">";
}

std::string attribute(const std::string& selector, const std::string& name) {
    return engine().eval("document.querySelector('" + selector + "').getAttribute('" + name + "')");
}

std::string bodyHtml(const browser::Document& doc) {
    return doc.body().innerHTML();
}

// Waits until the handle layer has drawn the frame on the selected object.
void waitForHandles(const Rect& r) {
    bool drawn = enginetest::WaitUntil(
        [&] { return engine().pixel(r.x + r.width, r.y + r.height) == kHandleFill; }, 5000);
    ASSERT_TRUE(drawn) << "no handle at the object's corner";
}

TEST(EngineHandles, GlyphsChangeNoBoxOfThePage) {
    const std::string page =
        "<p id=\"text\">one<br id=\"br\">two <a id=\"a\" href=\"x\">link</a></p>" + imageTag() +
        "<table id=\"t\" border=\"0\"><tr><td>cell</td></tr></table>";
    EngineView::writePicture(engine().folder() + "/pic.png", kImageColour);
    engine().load("<html><body style=\"margin:20px\">" + page + "</body></html>");
    auto doc = engine().document();
    doc.setDesignMode("On");
    std::string boxes;
    auto measure = [&] {
        std::string all;
        for (const char* s : {"#text", "#a", "#pic", "#t"}) {
            Rect r = engine().rect(s);
            all += std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) +
                   "," + std::to_string(r.height) + " ";
        }
        return all;
    };
    boxes = measure();
    showGlyphs(doc);
    EXPECT_EQ(measure(), boxes);
    // The pictures are there all the same, and the break's sits on its line.
    Rect pic = engine().rect("#pic");
    EXPECT_EQ(engine().pixel(pic.x + 5, pic.y + 5), kGlyphColour);
    Rect br = engine().rect("#br");
    EXPECT_EQ(engine().pixel(br.x + 5, br.y + br.height / 2), kGlyphColour);
}

TEST(EngineHandles, TheBreakGlyphFollowsItsLineWhenTheLayoutMovesWithoutAnEdit) {
    editPage("<p id=\"first\">top</p><p>one<br id=\"br\">two</p>");
    // A style rule changed through the style object: no element changes.
    engine().eval("(function(){var s=document.createElement('style');document.head.appendChild(s);"
                  "return 1;})()");
    engine().settle(100);
    engine().eval("document.styleSheets[document.styleSheets.length-1].insertRule("
                  "'#first{margin-bottom:90px}',0)");

    Rect br = engine().rect("#br");
    EXPECT_TRUE(enginetest::WaitUntil(
        [&] { return engine().pixel(br.x + 5, br.y + br.height / 2) == kGlyphColour; }));
}

TEST(EngineHandles, TheGlyphsOfALongPageFollowTheViewAsItScrolls) {
    std::string body;
    for (int i = 0; i < 400; ++i)
        body += "<p>Paragraph " + std::to_string(i) + " with <a href=\"x\">a link</a></p>";
    editPage(body + "<p><a id=\"far\" href=\"y\">the last link</a></p>");
    auto glyphShown = [] {
        Rect far = engine().rect("#far");
        return engine().pixel(far.x + 5, far.y + 5) == kGlyphColour;
    };

    engine().eval("document.getElementById('far').scrollIntoView(); 1");
    EXPECT_TRUE(enginetest::WaitUntil(glyphShown, 5000));
    // And back at the top, where the first links are.
    engine().eval("scrollTo(0, 0); 1");
    EXPECT_TRUE(enginetest::WaitUntil(
        [] {
            Rect first = engine().rect("a");
            return engine().pixel(first.x + 5, first.y + 5) == kGlyphColour;
        },
        5000));
}

TEST(EngineHandles, AnImageCornerDraggedBy80PixelsIs80PixelsWider) {
    auto doc = editPage("<p>Before</p>" + imageTag() + "<p>After</p>");
    Rect r = engine().rect("#pic");
    engine().click(r.centerX(), r.centerY());
    ASSERT_EQ(doc.selection().type(), "Control");
    waitForHandles(r);
    // A press 2 pixels inside the corner takes the handle.
    double x = r.x + r.width - 2, y = r.y + r.height - 2;
    engine().drag(x, y, x + 80, y + 30);
    EXPECT_EQ(attribute("#pic", "width"), "140");
    EXPECT_EQ(attribute("#pic", "height"), "70");
    Rect after = engine().rect("#pic");
    EXPECT_EQ(after.width, 140);
    EXPECT_EQ(after.height, 70);
    EXPECT_EQ(bodyHtml(doc).find("tavrisk"), std::string::npos);
    EXPECT_EQ(doc.selection().type(), "Control");
}

TEST(EngineHandles, EdgeHandlesChangeOneDimension) {
    struct Case {
        const char* handle;
        double fx, fy; // where on the box, 0 to 1
        double dx, dy;
        const char* width;
        const char* height;
    };
    const Case cases[] = {
        {"east", 1, 0.5, 30, 50, "90", "40"},
        {"south", 0.5, 1, 50, 20, "60", "60"},
        {"north-west corner", 0, 0, -10, -10, "70", "50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handle);
        auto doc = editPage("<p>Before</p>" + imageTag() + "<p>After</p>");
        Rect r = engine().rect("#pic");
        engine().click(r.centerX(), r.centerY());
        waitForHandles(r);
        double x = r.x + r.width * c.fx, y = r.y + r.height * c.fy;
        engine().drag(x, y, x + c.dx, y + c.dy);
        EXPECT_EQ(attribute("#pic", "width"), c.width);
        EXPECT_EQ(attribute("#pic", "height"), c.height);
    }
}

const char* kTablePage =
    "<p>Above</p><table id=\"t\" border=\"0\" cellspacing=\"2\"><tr><td>cell A1</td>"
    "<td>cell B1</td></tr><tr><td>cell A2</td><td id=\"last\">cell B2</td></tr></table>"
    "<p id=\"next\">Line one</p><p>Line two</p>";

// Selects the table by its spacing, the one place where a press hits the
// table itself.
Rect selectTable(const browser::Document& doc) {
    Rect t = engine().rect("#t");
    engine().click(t.x + 1, t.y + 1);
    EXPECT_EQ(doc.selection().type(), "Control");
    waitForHandles(t);
    return t;
}

TEST(EngineHandles, ATableCornerHandleResizesTheTableAndLeavesTheTextAlone) {
    auto doc = editPage(kTablePage);
    std::string text = doc.body().innerText();
    std::string rows = engine().eval("document.getElementById('t').innerHTML");
    Rect t = selectTable(doc);
    double x = t.x + t.width - 2, y = t.y + t.height - 2;
    engine().drag(x, y, x + 60, y + 30);
    EXPECT_EQ(attribute("#t", "width"), std::to_string(int(t.width) + 60));
    EXPECT_EQ(attribute("#t", "height"), std::to_string(int(t.height) + 30));
    Rect after = engine().rect("#t");
    EXPECT_EQ(after.width, int(t.width) + 60);
    EXPECT_EQ(after.height, int(t.height) + 30);
    EXPECT_EQ(doc.body().innerText(), text);
    EXPECT_EQ(engine().eval("document.getElementById('t').innerHTML"), rows);
}

TEST(EngineHandles, AHandlePressOnABorderlessTableNeverMovesItsMarkup) {
    auto doc = editPage(kTablePage);
    std::string before = bodyHtml(doc);
    Rect t = selectTable(doc);
    // Pressed 3 pixels inside the corner, over the last cell: a click, then a
    // drag that goes down into the next line of text.
    double x = t.x + t.width - 3, y = t.y + t.height - 3;
    engine().click(x, y);
    EXPECT_EQ(bodyHtml(doc), before);
    Rect next = engine().rect("#next");
    engine().drag(x, y, next.x + 20, next.centerY());
    std::string order = engine().eval(
        "Array.from(document.body.children).map(function(e){return e.id||e.tagName;}).join(' ')");
    EXPECT_EQ(order.find("P t next P"), 0u) << order;
    EXPECT_EQ(engine().eval("document.getElementById('last').textContent"), "cell B2");
    EXPECT_EQ(engine().eval("document.getElementById('next').textContent"), "Line one");
    EXPECT_EQ(engine().eval("document.querySelectorAll('table').length"), "1");
}

TEST(EngineHandles, APositionedBoxDraggedFromItsMiddleMovesByTheDrag) {
    auto doc = editPage("<p id=\"p\">Start</p>");
    engine().eval("getSelection().collapse(document.getElementById('p').firstChild, 5)");
    doc.selection().createRange().pasteHTML(
        "<span id=\"box\" style=\"position:absolute;width:200px; height:200px; z-index:1;  "
        "visibility: visible;\">Your text here</span>");
    Rect box = engine().rect("#box");
    engine().drag(box.centerX(), box.centerY(), box.centerX() + 70, box.centerY() + 45);
    Rect moved = engine().rect("#box");
    EXPECT_EQ(moved.x, box.x + 70);
    EXPECT_EQ(moved.y, box.y + 45);
    EXPECT_EQ(doc.selection().type(), "Control");
    EXPECT_EQ(engine().eval("document.getElementById('box').textContent"), "Your text here");

    // A click on its body puts the caret in its text; a drag there then
    // selects text instead of moving the box.
    engine().click(moved.x + 30, moved.y + 8);
    EXPECT_EQ(doc.selection().type(), "None");
    engine().drag(moved.x + 2 + 6, moved.y + 8, moved.x + 60, moved.y + 8);
    EXPECT_EQ(doc.selection().type(), "Text");
    Rect still = engine().rect("#box");
    EXPECT_EQ(still.x, moved.x);
    EXPECT_EQ(still.y, moved.y);
}

TEST(EngineHandles, OneResizeIsOneUndoStep) {
    auto doc = editPage("<p id=\"text\">Some words</p>" + imageTag());
    // An edit of the engine's own first.
    engine().eval("getSelection().selectAllChildren(document.getElementById('text'))");
    doc.execCommand("Bold", true, true);
    ASSERT_NE(doc.body().innerHTML().find("<b>Some words</b>"), std::string::npos);

    Rect r = engine().rect("#pic");
    engine().click(r.centerX(), r.centerY());
    waitForHandles(r);
    engine().drag(r.x + r.width, r.y + r.height, r.x + r.width + 50, r.y + r.height + 10);
    ASSERT_EQ(attribute("#pic", "width"), "110");

    doc.execCommand("Undo", true, true);
    EXPECT_EQ(attribute("#pic", "width"), "60");
    EXPECT_EQ(attribute("#pic", "height"), "40");
    EXPECT_NE(doc.body().innerHTML().find("<b>Some words</b>"), std::string::npos);
    doc.execCommand("Redo", true, true);
    EXPECT_EQ(attribute("#pic", "width"), "110");
    EXPECT_EQ(attribute("#pic", "height"), "50");
    doc.execCommand("Undo", true, true);
    // The next undo is the engine's again.
    doc.execCommand("Undo", true, true);
    EXPECT_EQ(attribute("#pic", "width"), "60");
    EXPECT_EQ(doc.body().innerHTML().find("<b>"), std::string::npos);
}

TEST(EngineHandles, AfterTheScrollTheHandlesStillSitOnTheObject) {
    auto doc = editPage("<div style=\"height:300px\">Tall</div>" + imageTag() +
                        "<div style=\"height:1500px\">More</div>");
    Rect r = engine().rect("#pic");
    engine().click(r.centerX(), r.centerY());
    waitForHandles(r);
    engine().eval("window.scrollTo(0, 150)");
    Rect scrolled = engine().rect("#pic");
    ASSERT_EQ(scrolled.y, r.y - 150);
    waitForHandles(scrolled);
    engine().drag(scrolled.x + scrolled.width, scrolled.y + scrolled.height,
                  scrolled.x + scrolled.width + 25, scrolled.y + scrolled.height);
    EXPECT_EQ(attribute("#pic", "width"), "85");
    EXPECT_EQ(attribute("#pic", "height"), "40");
}

TEST(EngineHandles, TheHandlesAreNeverPartOfThePage) {
    auto doc = editPage(imageTag());
    long count = doc.all().length();
    Rect r = engine().rect("#pic");
    engine().click(r.centerX(), r.centerY());
    waitForHandles(r);
    EXPECT_EQ(doc.all().length(), count);
    EXPECT_EQ(doc.all().tags("html").item(0).outerHTML().find("tavrisk"), std::string::npos);
    std::string path = engine().folder() + "/saved-handles.htm";
    ASSERT_TRUE(doc.execCommand("SaveAs", false, path));
    std::ifstream file(path);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<img"), std::string::npos);
    EXPECT_EQ(text.find("tavrisk"), std::string::npos);
}

} // namespace
