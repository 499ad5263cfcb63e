// The site wizard's own form: its pages, its list of saved connections and
// what each of its buttons does to them, and the file they are kept in.

#include "BandFormFixture.h"

#include "support/Files.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class WizardTest : public BandFormTest {
protected:
    forms::Control& w(const std::string& name) { return wizard().form()[name]; }
    std::string iniText() { return testfiles::readFile(places::configFolder() / "tavrisk.ini"); }
    void saved(const connections::SiteConnection& c) { wizard().store().lists().add(c); }
    void choose(int line) { w("ListBox1").chooseItem(line); }
};

TEST_F(WizardTest, NextAndPreviousTurnThePagesAndFinishedTakesTheNextButtonsPlaceOnTheLast) {
    wizard().init();
    w("Previous").click();
    EXPECT_EQ(w("Notebook1").activePage(), "page0");

    struct Step {
        const char* button;
        const char* page;
        bool finished;
        bool previousEnabled;
        bool nextEnabled;
    };
    const Step steps[] = {
        {"Netx", "page1", false, true, true},
        {"Netx", "page2", true, true, true},
        {"Previous", "page1", false, true, true},
        {"Netx", "page2", true, true, true},
        // Only reachable while "Finished" covers it; nothing follows.
        {"Netx", "3", false, true, false},
        {"Previous", "page2", true, true, true},
    };
    for (const Step& s : steps) {
        w(s.button).click();
        EXPECT_EQ(w("Notebook1").activePage(), s.page) << s.button;
        EXPECT_EQ(w("finished").visible(), s.finished) << s.page;
        EXPECT_EQ(w("Previous").enabled(), s.previousEnabled) << s.page;
        EXPECT_EQ(w("Netx").enabled(), s.nextEnabled) << s.page;
    }
}

TEST_F(WizardTest, LeavingTheServerFieldDropsAnyPrefixEndingInColonSlashSlash) {
    const std::pair<const char*, const char*> cases[] = {
        {"ftp://ftp.example.org", "ftp.example.org"},
        {"FTP://Ftp.Example.org:2121", "Ftp.Example.org:2121"},
        {"ftp.example.org", "ftp.example.org"},
        {"sftp://a://b", "a://b"},
    };
    for (const auto& [typed, kept] : cases) {
        wizard().ftpserveredit().setText(typed);
        wizard().ftpserveredit().leave();
        EXPECT_EQ(wizard().ftpserveredit().text(), kept) << typed;
    }
}

TEST_F(WizardTest, ShowingRestoresTheFileAndListsTheServersWithoutASelection) {
    saved({"http://one.example", "ftp.one.example", "a", "pa", ""});
    wizard().store().save();
    // Another program (or a hand) changed the file meanwhile.
    std::string text = iniText();
    text.replace(text.find("ftp.one.example"), 15, "ftp.two.example");
    testfiles::writeFile(places::configFolder() / "tavrisk.ini", text);
    w("Notebook1").setActivePage("page2");
    w("PageControl1").setActivePage("TabSheet2");

    wizard().Show();

    EXPECT_TRUE(wizard().Visible());
    EXPECT_EQ(w("PageControl1").activePage(), "TabSheet1");
    EXPECT_EQ(w("Notebook1").activePage(), "page0");
    EXPECT_THAT(w("ListBox1").items(), ElementsAre("ftp.two.example"));
    EXPECT_EQ(w("ListBox1").itemIndex(), -1);
    EXPECT_FALSE(w("Button1").enabled());
}

TEST_F(WizardTest, ASelectedLineEnablesDeleteEditAndUseAndThePageChangeKeepsThemSo) {
    saved({"http://one.example", "ftp.one.example", "a", "pa", ""});
    saved({"http://two.example", "ftp.two.example", "b", "pb", "www"});
    wizard().Show();
    choose(-1);
    for (const char* button : {"Button1", "Button6", "Button5"})
        EXPECT_FALSE(w(button).enabled()) << button;
    choose(1);
    w("PageControl1").choosePage("TabSheet2");
    EXPECT_EQ(w("ListBox1").itemIndex(), -1) << "the list was reloaded";
    for (const char* button : {"Button1", "Button6", "Button5"})
        EXPECT_TRUE(w(button).enabled()) << button;
    EXPECT_FALSE(w("Button5").visible());
}

TEST_F(WizardTest, DeleteAsksFirstAndTheLastConnectionLeavesNoSectionInTheFile) {
    saved({"http://one.example", "ftp.one.example", "a", "pa", ""});
    wizard().Show();
    wizard().store().save();
    choose(0);
    dialogs.queue(ui::Answer::Cancel);
    w("Button1").click();
    EXPECT_EQ(wizard().store().lists().count(), 1u);

    choose(0);
    dialogs.queue(ui::Answer::Ok);
    w("Button1").click();
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, "Are you sure you want to delete the connection ?");
    EXPECT_EQ(dialogs.shown()[1].kind, ui::ScriptedDialogs::Kind::OkCancel);
    EXPECT_THAT(w("ListBox1").items(), IsEmpty());
    EXPECT_THAT(iniText(), Not(HasSubstr("Tavrisk.")));
}

TEST_F(WizardTest, EditFillsTheFieldsAndSaveWritesThemToTheFirstConnectionOfThatSite) {
    saved({"http://site.example", "ftp.first.example", "a", "pa", ""});
    saved({"http://SITE.example", "ftp.second.example", "b", "pb", "www"});
    wizard().Show();
    choose(1);
    w("Button6").click();
    EXPECT_EQ(w("PageControl1").activePage(), "TabSheet1");
    EXPECT_EQ(w("Notebook1").activePage(), "page0");
    EXPECT_TRUE(w("Button8").visible());
    EXPECT_EQ(wizard().ftpserveredit().text(), "ftp.second.example");
    EXPECT_EQ(wizard().ftppasswordedit().text(), "pb");
    EXPECT_EQ(wizard().ftpinitialfolderedit().text(), "www");

    // A site address that no connection has: nothing changes, nothing said.
    wizard().siteedit().setText("http://elsewhere.example");
    w("Button8").click();
    EXPECT_TRUE(w("Button8").visible());
    EXPECT_EQ(wizard().store().lists().siteweb[0], "http://site.example");

    wizard().siteedit().setText("http://SITE.example");
    wizard().ftpserveredit().setText("ftp.changed.example");
    w("Button8").click();
    EXPECT_EQ(wizard().store().lists().at(0),
              (connections::SiteConnection{"http://SITE.example", "ftp.changed.example", "b", "pb",
                                           "www"}));
    EXPECT_EQ(wizard().store().lists().ftpserver[1], "ftp.second.example");
    EXPECT_FALSE(w("Button8").visible());
    EXPECT_EQ(w("PageControl1").activePage(), "TabSheet2");
    EXPECT_THAT(iniText(), HasSubstr("Item0=ftp.changed.example"));
    EXPECT_THAT(dialogs.messages(), IsEmpty());
}

TEST_F(WizardTest, UsingAConnectionMakesItCurrentAndShowsItsSite) {
    saved({"http://one.example/", "ftp.one.example", "a", "pa", "www"});
    wizard().Show();
    w("ListBox1").doubleClick(); // nothing selected: nothing happens
    EXPECT_TRUE(wizard().Visible());
    EXPECT_THAT(browser->navigations, IsEmpty());

    choose(0);
    w("ListBox1").doubleClick();
    EXPECT_EQ(connections::Tftpparameters::current().connection(), wizard().store().lists().at(0));
    EXPECT_THAT(browser->navigations, ElementsAre("http://one.example/"));
    EXPECT_FALSE(wizard().Visible());
}

TEST_F(WizardTest, EveryCloseHidesTheWizardAndSavesTheConnections) {
    wizard().Show();
    saved({"http://one.example", "ftp.one.example", "a", "pa", ""});
    w("Button3").click();
    EXPECT_FALSE(wizard().Visible());
    EXPECT_THAT(iniText(), HasSubstr("Item0=ftp.one.example"));

    wizard().Show();
    saved({"http://two.example", "ftp.two.example", "b", "pb", ""});
    wizard().form().close(); // the close box, or Escape
    EXPECT_FALSE(wizard().Visible());
    EXPECT_THAT(iniText(), HasSubstr("Item1=ftp.two.example"));
}

TEST_F(WizardTest, FinishedAfterEditWritesTheFieldsBackEvenWhenTheTestThenFails) {
    saved({"http://one.example", "ftp.one.example", "a", "pa", ""});
    saved({"http://two.example", "ftp.two.example", "b", "pb", ""});
    wizard().Show();
    choose(1);
    w("Button6").click();
    std::string nobody = "127.0.0.1:" + std::to_string(freeLoopbackPort());
    wizard().ftpserveredit().setText(nobody);
    browser->locationURL = "http://two.example/";
    w("Netx").click();
    w("Netx").click();
    w("finished").click();

    EXPECT_EQ(wizard().store().lists().ftpserver[1], nobody);
    EXPECT_EQ(wizard().store().lists().count(), 2u);
    EXPECT_THAT(iniText(), HasSubstr("Item1=" + nobody));
    EXPECT_THAT(dialogs.messages(), ElementsAre("Could not connect"));
    // Back on the page it was finished from, ready to be corrected.
    EXPECT_TRUE(wizard().Visible());
    EXPECT_EQ(w("Notebook1").activePage(), "page2");
    EXPECT_TRUE(w("finished").visible());
    EXPECT_TRUE(w("finished").enabled());
    EXPECT_FALSE(w("ProgressBar1").down());
}
