#include "tools/PositionedObjects.h"
#include "support/FakeBrowser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace fake = browser::fake;

namespace {

class PositionedObjects : public ::testing::Test {
protected:
    void SetUp() override {
        browser->document = fake::FakeDocument::create();
        paragraph = doc().body()->append("p", {}, "Text");
        image = doc().body()->append("img");
    }
    fake::FakeDocument& doc() { return *browser->document; }

    ComPtr<fake::FakeBrowser> browser = fake::FakeBrowser::create();
    fake::FakeElement* paragraph = nullptr;
    fake::FakeElement* image = nullptr;
};

TEST_F(PositionedObjects, TheFreeTextBoxGoesInAtTheTextOnly) {
    doc().selectText(paragraph, false);
    tools::ToolButton5Click(browser.get());
    EXPECT_THAT(doc().pasted, ElementsAre("<span style=\"position:absolute;width:200px; "
                                          "height:200px; z-index:1;  visibility: visible;\">"
                                          "Your text here</span>"));
    doc().pasted.clear();
    doc().selectControl(image);
    tools::ToolButton5Click(browser.get());
    EXPECT_THAT(doc().pasted, IsEmpty());
}

TEST_F(PositionedObjects, TheFlashObjectPlaysTheChosenFileAsTheDialogGaveIt) {
    const std::string path = "C:\\My Movies\\intro.swf";
    const std::string expected =
        "<object classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" "
        "codebase=\"https://download.macromedia.com/pub/shockwave/cabs/flash/"
        "swflash.cab#version=6,0,29,0\" width=\"100\" height=\"100\">\r\n"
        "<param name=\"movie\" value=\"C:\\My Movies\\intro.swf\">\r\n"
        "<param name=\"quality\" value=\"high\">\r\n"
        "<embed src=\"C:\\My Movies\\intro.swf\" quality=\"high\" "
        "pluginspage=\"https://get.adobe.com/flashplayer/\" "
        "type=\"application/x-shockwave-flash\"></embed>\r\n"
        "</object>\r\n";
    EXPECT_EQ(tools::flashObjectMarkup(path), expected);
    doc().selectText(paragraph);
    tools::insertFlashMovie(browser.get(), path);
    EXPECT_THAT(doc().pasted, ElementsAre(expected));
}

TEST_F(PositionedObjects, AFlashObjectWithAnObjectSelectedIsDroppedSilently) {
    doc().selectControl(image);
    EXPECT_NO_THROW(tools::insertFlashMovie(browser.get(), "/home/me/a.swf"));
    EXPECT_THAT(doc().pasted, IsEmpty());
}

} // namespace
