#include "forms/BandFormDescription.h"
#include "support/FakeBrowser.h"
#include "tools/Formatting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::IsEmpty;
namespace fake = browser::fake;

// The formatting toolbar's view of the selection, on a fresh band form
// model and a fake document.
class DisplayChanged : public ::testing::Test {
protected:
    void SetUp() override {
        browser->document = fake::FakeDocument::create();
        body = doc().body();
        paragraph = body->append("p");
        doc().commandValues = {{"bold", true},          {"italic", false}, {"underline", true},
                               {"fontname", "Verdana"}, {"fontsize", 3},   {"forecolor", 255}};
        selected = paragraph;
    }
    void refresh() { tools::DHTMLEditDisplayChanged(browser.get(), form, selected); }
    fake::FakeDocument& doc() { return *browser->document; }

    ComPtr<fake::FakeBrowser> browser = fake::FakeBrowser::create();
    forms::Form form{forms::bandFormDescription()};
    fake::FakeElement* body = nullptr;
    fake::FakeElement* paragraph = nullptr;
    ComPtr<IHTMLElement> selected;
};

TEST_F(DisplayChanged, ShowsTheSelectionsStateAndClimbsToTheParent) {
    refresh();
    EXPECT_TRUE(form["btnBold"].down());
    EXPECT_FALSE(form["btnItalic"].down());
    EXPECT_TRUE(form["btnUnderline"].down());
    EXPECT_EQ(form["cmbFontName"].text(), "Verdana");
    EXPECT_EQ(form["cmbFontSize"].text(), "3");
    EXPECT_EQ(form["cmbFontName"].items().size(), 17u);
    EXPECT_EQ(form["cmbFontSize"].items().size(), 21u);
    EXPECT_EQ(form["cmdcolor"].color(), 255);
    EXPECT_EQ(selected.get(), static_cast<IHTMLElement*>(body));
}

TEST_F(DisplayChanged, AnUnknownFaceIsAppendedOnceWhateverItsCase) {
    doc().commandValues["fontname"] = "Tahoma";
    refresh();
    EXPECT_EQ(form["cmbFontName"].text(), "Tahoma");
    EXPECT_EQ(form["cmbFontName"].items().back(), "Tahoma");
    doc().commandValues["fontname"] = "tahoma";
    refresh();
    EXPECT_EQ(form["cmbFontName"].text(), "tahoma");
    EXPECT_EQ(form["cmbFontName"].items().size(), 18u);
}

TEST_F(DisplayChanged, AMixedSelectionLeavesTheBoxesAsTheyWere) {
    form["cmbFontName"].setText("Arial");
    form["cmbFontSize"].setText("+2");
    doc().commandValues["fontname"] = nullptr;
    doc().commandValues["fontsize"] = nullptr;
    doc().commandValues["forecolor"] = nullptr;
    refresh();
    EXPECT_EQ(form["cmbFontName"].text(), "Arial");
    EXPECT_EQ(form["cmbFontSize"].text(), "+2");
    EXPECT_EQ(form["cmdcolor"].color(), forms::clBtnFace);
    EXPECT_EQ(selected.get(), static_cast<IHTMLElement*>(body));
}

TEST_F(DisplayChanged, AFailingBoldQueryEndsTheRefreshBeforeAnything) {
    for (const char* failing : {"bold", "null bold"}) {
        selected = paragraph;
        if (std::string(failing) == "bold")
            doc().failingCommands = {{"bold", "Unspecified error"}};
        else
            doc().commandValues["bold"] = nullptr;
        refresh();
        EXPECT_FALSE(form["btnUnderline"].down()) << failing;
        EXPECT_EQ(form["cmbFontName"].text(), "") << failing;
        EXPECT_EQ(selected.get(), static_cast<IHTMLElement*>(paragraph)) << failing;
    }
}

TEST_F(DisplayChanged, AColorThatDoesNotReadLeavesThePickerAndGoesOn) {
    doc().commandValues["forecolor"] = "#zz";
    refresh();
    EXPECT_EQ(form["cmdcolor"].color(), forms::clBtnFace);
    EXPECT_EQ(selected.get(), static_cast<IHTMLElement*>(body));
    doc().commandValues["forecolor"] = "#ff";
    refresh();
    EXPECT_EQ(form["cmdcolor"].color(), 255);
}

TEST_F(DisplayChanged, ReadingTheColorNeverWritesItBack) {
    int changes = 0;
    form["cmdcolor"].onChange = [&] { ++changes; };
    refresh();
    EXPECT_EQ(form["cmdcolor"].color(), 255);
    EXPECT_EQ(changes, 0);
    EXPECT_THAT(doc().commands, IsEmpty());
}

TEST_F(DisplayChanged, AClickInALinkKeepsTheLink) {
    fake::FakeElement* link = paragraph->append("a", {{"href", "http://x/"}});
    selected = link;
    refresh();
    EXPECT_EQ(selected.get(), static_cast<IHTMLElement*>(link));
}
