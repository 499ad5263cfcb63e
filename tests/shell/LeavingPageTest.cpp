#include "BandFormFixture.h"

using ::testing::IsEmpty;

namespace {

// The edited page holds a frame that its own script fills later.
class LeavingPageTest : public BandFormTest {
protected:
    void SetUp() override {
        BandFormTest::SetUp();
        doc().body()->append(
            fake::FakeElement::create("iframe", {{"src", "https://maps.example.net/embed?x=1"}}));
        control("designmode").click();
        ASSERT_EQ(doc().designMode, "On");
        dialogs.clear();
    }

    bool stillEditing() {
        return control("designmode").down() && doc().designMode == "On" &&
               control("btnBold").enabled();
    }
};

} // namespace

TEST_F(LeavingPageTest, LeavingTheEditedPageAsksFirstAndCancelKeepsPageAndEdits) {
    struct Case {
        const char* what;
        ui::Answer answer;
        bool leaves;
    };
    for (const Case& c :
         {Case{"cancel", ui::Answer::Cancel, false}, Case{"leave", ui::Answer::Ok, true}}) {
        SCOPED_TRACE(c.what);
        dialogs.clear();
        dialogs.queue(c.answer);
        bool cancelled = browser->fireBeforeNavigate2("http://www.example.org/elsewhere.htm");
        EXPECT_EQ(cancelled, !c.leaves);
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].kind, ui::ScriptedDialogs::Kind::OkCancel);
        EXPECT_EQ(stillEditing(), !c.leaves);
    }
}

TEST_F(LeavingPageTest, FramesOfThePageAndTheWorkingCopyNeverAskNorEndEditing) {
    struct Case {
        const char* what;
        std::string url;
        std::string frame;
    };
    for (const Case& c : {Case{"a frame's own source", "https://maps.example.net/embed?x=1", ""},
                          Case{"a named target frame", "http://ads.example.net/a", "banner"}}) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(browser->fireBeforeNavigate2(c.url, c.frame));
        browser->fireDocumentComplete(c.url, false);
        EXPECT_TRUE(stillEditing());
    }
    EXPECT_THAT(dialogs.shown(), IsEmpty());

    // The working copy of a site page is opened by the switch itself.
    EXPECT_FALSE(browser->fireBeforeNavigate2(workingCopyUrl()));
    EXPECT_THAT(dialogs.shown(), IsEmpty());
}

TEST_F(LeavingPageTest, OnlyTheTopPageCompletingEndsEditing) {
    browser->fireDocumentComplete("https://maps.example.net/embed?x=1", false);
    EXPECT_TRUE(stillEditing());

    browser->fireDocumentComplete("file:///home/user/other.htm", true);
    EXPECT_FALSE(control("designmode").down());
    EXPECT_EQ(doc().designMode, "Off");
}

TEST_F(LeavingPageTest, TheReloadAfterPublishingAsksNothing) {
    form->FRemotePageURL = "http://www.example.org/page.htm";
    bool cancelled = false;
    browser->onNavigate = [&](const std::string& url) {
        cancelled = cancelled || browser->fireBeforeNavigate2(url);
    };
    dialogs.queue(ui::Answer::No); // declines the upload
    control("designmode").click();
    ASSERT_EQ(browser->navigations.size(), 1u);
    EXPECT_FALSE(cancelled);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Upload the file to your server ?");
}
