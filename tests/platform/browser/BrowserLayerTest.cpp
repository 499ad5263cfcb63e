// The C++ layer over the browser interfaces, exercised through the fake
// that the logic's unit tests use.

#include "platform/browser/Dom.h"
#include "support/EventSink.h"
#include "support/FakeBrowser.h"

#include <gtest/gtest.h>

#include <functional>

using browser::BrowserError;
using browser::Value;
using browser::fake::FakeBrowser;
using browser::fake::FakeDocument;
using browser::fake::FakeElement;
using testsupport::EventSink;

namespace {

void expectError(const std::function<void()>& call, const std::string& text) {
    try {
        call();
        ADD_FAILURE() << "no error, expected: " << text;
    } catch (const BrowserError& e) {
        EXPECT_EQ(e.what(), text);
    }
}

struct Page {
    ComPtr<FakeBrowser> fake = FakeBrowser::create();
    browser::Browser browser{ComPtr<IWebBrowser2>(fake.get())};
    Page() {
        fake->document = FakeDocument::create();
        fake->locationURL = "http://site.example/index.htm";
    }
    FakeDocument& doc() { return *fake->document; }
};

TEST(BrowserLayer, ValuesConvertOnlyFromTheirOwnKind) {
    EXPECT_EQ(Value(3).toText(), "3");
    EXPECT_EQ(Value(2.5).toText(), "2.5");
    EXPECT_EQ(Value(true).toText(), "true");
    EXPECT_EQ(Value().toText(), "");
    EXPECT_TRUE(Value(false).isBool());
    // A null command value is no boolean: the toolbar refresh relies on this error.
    EXPECT_THROW(Value().asBool(), std::runtime_error);
    EXPECT_THROW(Value("x").asNumber(), std::runtime_error);
    EXPECT_EQ(Value(1193046).asNumber(), 1193046.0);
}

TEST(BrowserLayer, CommandsAreRecordedAndFailuresCarryTheirText) {
    Page page;
    auto doc = page.browser.document();
    doc.execCommand("Bold", true, true);
    doc.execCommand("FontSize", true, "+3");
    doc.execCommand("Indent", true);
    EXPECT_EQ(page.doc().commands,
              (std::vector<browser::fake::CommandCall>{
                  {"Bold", true, true}, {"FontSize", true, "+3"}, {"Indent", true, Value()}}));
    page.doc().commandValues["forecolor"] = 255;
    EXPECT_EQ(doc.queryCommandValue("ForeColor").asNumber(), 255);
    EXPECT_TRUE(doc.queryCommandValue("FontName").isNull());
    page.doc().failingCommands["createlink"] = "Invalid address";
    expectError([&] { doc.execCommand("createlink", false, "x"); }, "Invalid address");
    doc.exec(IDM_ADDTOGLYPHTABLE, "%%br^^**");
    EXPECT_EQ(page.doc().execs.back().command, IDM_ADDTOGLYPHTABLE);
}

TEST(BrowserLayer, RangesAnswerOnlyTheirOwnKindsMethods) {
    Page page;
    FakeElement* p = page.doc().body()->append("p", {}, "text");
    FakeElement* img = page.doc().body()->append("img", {{"src", "a.gif"}});
    auto doc = page.browser.document();

    page.doc().selectText(p, false);
    auto selection = doc.selection();
    EXPECT_EQ(selection.type(), "None");
    auto range = selection.createRange();
    EXPECT_EQ(range.parentElement().tagName(), "P");
    range.pasteHTML("<b>x</b>");
    EXPECT_EQ(page.doc().pasted, std::vector<std::string>{"<b>x</b>"});
    expectError([&] { range.commonParentElement(); }, browser::kNoSuchMethod);

    page.doc().selectControl(img);
    auto control = doc.selection().createRange();
    EXPECT_EQ(doc.selection().type(), "Control");
    EXPECT_EQ(control.commonParentElement().getAttribute("src").toText(), "a.gif");
    expectError([&] { control.pasteHTML("<b>x</b>"); }, browser::kNoSuchMethod);
    EXPECT_EQ(page.doc().pasted.size(), 1u);
}

TEST(BrowserLayer, AttributesTablesAndMetaFollowTheDocumentModel) {
    Page page;
    page.doc().head()->append("meta", {{"name", "Keywords"}, {"content", "a"}});
    FakeElement* table = page.doc().body()->append("table", {{"border", "0"}});
    FakeElement* row = table->append("tr");
    row->append("td");
    row->append("td");
    auto doc = page.browser.document();

    auto t = doc.all().tags("TABLE").item(0);
    EXPECT_TRUE(t.getAttribute("width").isNull());
    t.setAttribute("width", "100%");
    t.setAttribute("border", Value());
    EXPECT_TRUE(t.getAttribute("border").isNull());
    EXPECT_EQ(t.getAttribute("WIDTH").toText(), "100%");

    auto newRow = t.insertRow(t.rows().length());
    newRow.insertCell(0);
    EXPECT_EQ(t.rows().length(), 2);
    t.rows().item(0).insertCell(2);
    EXPECT_EQ(
        t.outerHTML(),
        "<table width=\"100%\"><tr><td></td><td></td><td></td></tr><tr><td></td></tr></table>");
    t.deleteRow(1);
    expectError([&] { t.rows().item(0).deleteCell(5); }, "The index is not in the allowed range.");
    expectError([&] { doc.body().insertRow(0); }, browser::kNoSuchMethod);

    auto meta = doc.all().tags("meta").item(0);
    EXPECT_EQ(meta.metaName(), "Keywords");
    meta.setMetaContent("b");
    EXPECT_EQ(meta.metaContent(), "b");
    expectError([&] { t.metaName(); }, browser::kNoSuchMethod);

    std::vector<std::string> order;
    auto all = doc.all();
    for (long i = 0; i < all.length(); ++i)
        order.push_back(all.item(i).tagName());
    EXPECT_EQ(order, (std::vector<std::string>{"HTML", "HEAD", "META", "BODY", "TABLE", "TR", "TD",
                                               "TD", "TD"}));
}

TEST(BrowserLayer, RemovedElementsAndLeftDocumentsFailWithClearMessages) {
    Page page;
    FakeElement* p = page.doc().body()->append("p");
    auto doc = page.browser.document();
    auto element = doc.all().tags("p").item(0);
    p->remove();
    expectError([&] { element.outerHTML(); }, "The element has been removed from the document");

    auto body = doc.body();
    page.fake->completeNavigation("http://site.example/other.htm");
    expectError([&] { doc.title(); }, "The document is no longer shown in the browser");
    expectError([&] { body.tagName(); }, "The document is no longer shown in the browser");
    EXPECT_EQ(page.browser.document().url(), "http://site.example/other.htm");

    page.fake->document = nullptr;
    expectError([&] { page.browser.document(); }, "The browser shows no document");
}

TEST(BrowserLayer, DocumentSinksSeeTheEventBeingDelivered) {
    Page page;
    FakeElement* link = page.doc().body()->append("a", {{"href", "x.htm"}});
    auto doc = page.browser.document();
    std::vector<std::string> heard;
    ComPtr<EventSink> sink(new EventSink);
    sink->onInvoke = [&] {
        auto e = doc.parentWindowEvent();
        heard.push_back(e.type() + " " + e.srcElement().tagName());
    };
    doc.attachEvent("onClick", sink.get());
    doc.attachEvent("onmouseup", sink.get());
    page.doc().fire("mouseup", link);
    page.doc().fire("click", link);
    EXPECT_EQ(heard, (std::vector<std::string>{"mouseup A", "click A"}));
    EXPECT_TRUE(doc.parentWindowEvent().isNull());
}

// Records navigation events and may disconnect itself from inside one.
class Events : public com::ComObject<DWebBrowserEvents2> {
public:
    std::vector<std::string> log;
    std::function<void()> onComplete;
    HRESULT BeforeNavigate2(const char* url, const char*, BOOL*) override {
        log.push_back(std::string("before ") + url);
        return S_OK;
    }
    HRESULT DocumentComplete(const char* url, BOOL) override {
        log.push_back(std::string("complete ") + url);
        if (onComplete)
            onComplete();
        return S_OK;
    }
    HRESULT NewWindow2(const char*, BOOL* cancel) override {
        *cancel = TRUE;
        return S_OK;
    }
    HRESULT NavigateError(const char*, long, BOOL*) override { return S_OK; }
    HRESULT ProgressChange(long, long) override { return S_OK; }
};

TEST(BrowserLayer, FakeBrowserRaisesEventsAndAnswersBusyInTurn) {
    Page page;
    ComPtr<Events> events(new Events);
    DWORD cookie = 0;
    page.fake->Advise(events.get(), &cookie);
    events->onComplete = [&] { page.fake->Unadvise(cookie); };
    page.fake->completeNavigation("file:///tmp/a.htm");
    page.fake->completeNavigation("file:///tmp/b.htm");
    EXPECT_EQ(events->log,
              (std::vector<std::string>{"before file:///tmp/a.htm", "complete file:///tmp/a.htm"}));
    EXPECT_EQ(page.browser.locationURL(), "file:///tmp/b.htm");

    page.fake->Advise(events.get(), &cookie);
    EXPECT_TRUE(page.fake->fireNewWindow2("http://x/"));

    page.fake->busyAnswers = {true, true};
    page.browser.navigate("/tmp/c.htm");
    int reads = 0;
    while (page.browser.busy())
        ++reads;
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(page.fake->navigations, std::vector<std::string>{"/tmp/c.htm"});
}

} // namespace
