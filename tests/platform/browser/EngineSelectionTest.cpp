// The selection model, ranges, document events and object dragging, driven
// by real mouse events on the engine.

#include "EngineView.h"

#include "support/EventSink.h"

#include <gtest/gtest.h>

#include <vector>

using enginetest::engine;
using testsupport::EventSink;

namespace {

const char* kPage = R"(<html><body style="margin:20px">
<p id="text" style="font-size:20px">Some words to click on</p>
<p><a id="link" href="http://example.org/">A link text</a></p>
<img id="pic" src="data:image/gif;base64,R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==" width="60" height="40">
<table id="tab" border="8" cellspacing="8" cellpadding="4"><tr><td id="cell">Cell text</td><td>B</td></tr></table>
</body></html>)";

browser::Document editPage(const char* html = kPage) {
    engine().load(html);
    auto doc = engine().document();
    doc.setDesignMode("On");
    return doc;
}

TEST(EngineSelection, ClickInTextIsACaretWithTheParagraphAsParent) {
    auto doc = editPage();
    auto r = engine().rect("#text");
    engine().click(r.x + 30, r.centerY());
    auto selection = doc.selection();
    EXPECT_EQ(selection.type(), "None");
    auto range = selection.createRange();
    ASSERT_TRUE(range.isText());
    EXPECT_EQ(range.parentElement().id(), "text");
    EXPECT_THROW(range.commonParentElement(), browser::BrowserError);
}

TEST(EngineSelection, DragOverTextSelectsText) {
    auto doc = editPage();
    auto r = engine().rect("#text");
    engine().drag(r.x + 2, r.centerY(), r.x + 120, r.centerY());
    auto selection = doc.selection();
    EXPECT_EQ(selection.type(), "Text");
    auto range = selection.createRange();
    EXPECT_FALSE(range.text().empty());
    EXPECT_EQ(range.parentElement().tagName(), "P");
}

struct ObjectCase {
    const char* name;
    const char* selector;
    double dx, dy; // from the element's corner; negative: from its center
    const char* type;
    const char* tag;
};

void PrintTo(const ObjectCase& c, std::ostream* os) {
    *os << c.name;
}

class ClickSelects : public ::testing::TestWithParam<ObjectCase> {};

TEST_P(ClickSelects, TheExpectedKind) {
    const ObjectCase& c = GetParam();
    auto doc = editPage();
    auto r = engine().rect(c.selector);
    double x = c.dx < 0 ? r.centerX() : r.x + c.dx;
    double y = c.dy < 0 ? r.centerY() : r.y + c.dy;
    engine().click(x, y);
    auto selection = doc.selection();
    EXPECT_EQ(selection.type(), c.type);
    auto range = selection.createRange();
    if (std::string(c.type) == "Control") {
        EXPECT_EQ(range.commonParentElement().tagName(), c.tag);
        // A control range has no pasteHTML, as a late-bound call would find.
        EXPECT_THROW(range.pasteHTML("<b>x</b>"), browser::BrowserError);
    } else {
        EXPECT_EQ(range.parentElement().tagName(), c.tag);
    }
}

INSTANTIATE_TEST_SUITE_P(Mouse, ClickSelects,
                         ::testing::Values(ObjectCase{"Image", "#pic", -1, -1, "Control", "IMG"},
                                           ObjectCase{"TableBorder", "#tab", 3, 3, "Control",
                                                      "TABLE"},
                                           ObjectCase{"Cell", "#cell", -1, -1, "None", "TD"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EngineSelection, ControlSelectionEndsWithAClickInText) {
    auto doc = editPage();
    auto pic = engine().rect("#pic");
    engine().click(pic.centerX(), pic.centerY());
    ASSERT_EQ(doc.selection().type(), "Control");
    auto text = engine().rect("#text");
    engine().click(text.x + 30, text.centerY());
    EXPECT_EQ(doc.selection().type(), "None");
}

TEST(EngineSelection, PasteHtmlInsertsAtTheCaretAndReplacesSelectedText) {
    auto doc = editPage("<p id=\"p\">abcdef</p>");
    engine().eval("(function(){var t=document.getElementById('p').firstChild;var r=document."
                  "createRange();r.setStart(t,3);r.collapse(true);var s=getSelection();s."
                  "removeAllRanges();s.addRange(r);})()");
    doc.selection().createRange().pasteHTML("<b>X</b>");
    EXPECT_EQ(engine().eval("document.getElementById('p').innerHTML"), "abc<b>X</b>def");

    engine().eval("(function(){var p=document.getElementById('p');var r=document.createRange();"
                  "r.setStart(p.firstChild,0);r.setEnd(p.firstChild,2);var s=getSelection();"
                  "s.removeAllRanges();s.addRange(r);})()");
    auto selection = doc.selection();
    ASSERT_EQ(selection.type(), "Text");
    selection.createRange().pasteHTML("<img src=\"a.gif\">");
    EXPECT_EQ(engine().eval("document.getElementById('p').innerHTML"),
              "<img src=\"a.gif\">c<b>X</b>def");
}

TEST(EngineSelection, SinksHearMouseUpBeforeClickWithTheEvent) {
    auto doc = editPage();
    std::vector<std::string> heard;
    ComPtr<EventSink> sink(new EventSink);
    sink->onInvoke = [&] {
        auto event = engine().document().parentWindowEvent();
        heard.push_back(event.type() + ":" + event.srcElement().id());
    };
    EXPECT_TRUE(doc.attachEvent("onClick", sink.get()));
    EXPECT_TRUE(doc.attachEvent("onmouseup", sink.get()));
    auto r = engine().rect("#text");
    engine().click(r.x + 30, r.centerY());
    ASSERT_TRUE(enginetest::WaitUntil([&] { return heard.size() >= 2; }, 3000));
    EXPECT_EQ(heard, (std::vector<std::string>{"mouseup:text", "click:text"}));
    EXPECT_TRUE(doc.parentWindowEvent().isNull());
}

TEST(EngineSelection, EventPropertyReplacesItsEarlierSink) {
    auto doc = editPage();
    int first = 0, second = 0;
    ComPtr<EventSink> a(new EventSink), b(new EventSink);
    a->onInvoke = [&] { ++first; };
    b->onInvoke = [&] { ++second; };
    doc.setEventProperty("onClick", a.get());
    doc.setEventProperty("onClick", b.get());
    auto r = engine().rect("#text");
    engine().click(r.x + 30, r.centerY());
    ASSERT_TRUE(enginetest::WaitUntil([&] { return second == 1; }, 3000));
    EXPECT_EQ(first, 0);
}

TEST(EngineSelection, PositionedImageIsDraggedWith2DPosition) {
    auto doc = editPage();
    auto r = engine().rect("#pic");
    engine().click(r.centerX(), r.centerY());
    ASSERT_EQ(doc.selection().type(), "Control");
    EXPECT_TRUE(doc.execCommand("AbsolutePosition", false, true));
    auto pic = doc.all().tags("img").item(0);
    EXPECT_NE(pic.getAttribute("style").toText().find("position: absolute"), std::string::npos);
    EXPECT_TRUE(doc.execCommand("2D-Position", false, true));
    EXPECT_TRUE(doc.execCommand("LiveResize", false, true));

    r = engine().rect("#pic");
    engine().drag(r.centerX(), r.centerY(), r.centerX() + 100, r.centerY() + 50);
    auto moved = engine().rect("#pic");
    EXPECT_NEAR(moved.x, r.x + 100, 2);
    EXPECT_NEAR(moved.y, r.y + 50, 2);

    EXPECT_TRUE(doc.execCommand("AbsolutePosition", false, false));
    EXPECT_EQ(pic.getAttribute("style").toText().find("absolute"), std::string::npos);
}

TEST(EngineSelection, LiveResizeFollowsTheCornerOfTheSelectedImage) {
    auto doc = editPage();
    doc.execCommand("LiveResize", false, true);
    auto r = engine().rect("#pic");
    engine().click(r.centerX(), r.centerY());
    engine().drag(r.x + r.width - 2, r.y + r.height - 2, r.x + r.width + 28, r.y + r.height + 18);
    auto pic = doc.all().tags("img").item(0);
    EXPECT_EQ(pic.getAttribute("width").toText(), "90");
    EXPECT_EQ(pic.getAttribute("height").toText(), "60");
}

TEST(EngineSelection, FreeTextBoxIsSelectedByItsEdgeAndDragged) {
    auto doc = editPage("<p id=\"p\">Start</p>");
    doc.execCommand("2D-Position", false, true);
    engine().eval("getSelection().collapse(document.getElementById('p').firstChild, 5)");
    doc.selection().createRange().pasteHTML(
        "<span id=\"box\" style=\"position:absolute;width:200px; height:200px; z-index:1;  "
        "visibility: visible;\">Your text here</span>");
    auto box = engine().rect("#box");
    engine().click(box.x + 50, box.y + 8);
    EXPECT_EQ(doc.selection().type(), "None");
    engine().drag(box.x + 2, box.y + 100, box.x + 62, box.y + 140);
    EXPECT_EQ(doc.selection().type(), "Control");
    EXPECT_EQ(doc.selection().createRange().commonParentElement().id(), "box");
    auto moved = engine().rect("#box");
    EXPECT_NEAR(moved.x, box.x + 60, 2);
    EXPECT_NEAR(moved.y, box.y + 40, 2);
}

TEST(EngineSelection, LinkingKeepsAnObjectSelectedAndWrapsIt) {
    auto doc = editPage();
    auto r = engine().rect("#pic");
    engine().click(r.centerX(), r.centerY());
    doc.execCommand("createlink", false, "http://example.org/pic.htm");
    auto selection = doc.selection();
    ASSERT_EQ(selection.type(), "Control");
    auto link = selection.createRange().commonParentElement().parentElement();
    EXPECT_EQ(link.tagName(), "A");
    EXPECT_EQ(link.getAttribute("href", 2).toText(), "http://example.org/pic.htm");

    auto text = engine().rect("#text");
    engine().drag(text.x + 2, text.centerY(), text.x + 60, text.centerY());
    doc.execCommand("createlink", false, "other.htm");
    auto parent = doc.selection().createRange().parentElement();
    EXPECT_EQ(parent.tagName(), "A");
    parent.setAttribute("target", "", 0);
    EXPECT_EQ(parent.getAttribute("target").toText(), "");
}

TEST(EngineSelection, WithoutDesignModeAClickSelectsNoObject) {
    engine().load(kPage);
    auto doc = engine().document();
    auto r = engine().rect("#pic");
    engine().click(r.centerX(), r.centerY());
    EXPECT_NE(doc.selection().type(), "Control");
}

} // namespace
