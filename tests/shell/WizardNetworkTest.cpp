// The wizard's connection test against a real FTP server on loopback: the
// ends of a run, as the user sees them and as they leave things.

#include "BandFormFixture.h"

#include "shell/FtpSessionForm.h"
#include "support/Files.h"
#include "support/LocalSite.h"
#include "support/MainLoopTimer.h"

#include <sys/stat.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

class WizardRunTest : public BandFormTest {
protected:
    void SetUp() override {
        BandFormTest::SetUp();
        if (!site.unavailable().empty())
            GTEST_SKIP() << site.unavailable();
        site.write("about.htm", "<html><body>About</body></html>");
        // The browser moves on when sent somewhere.
        browser->onNavigate = [this](const std::string& url) { browser->locationURL = url; };
        browser->locationURL = site.url("/");
        control("StatusBar1").listen([this](forms::Control& bar) {
            if (statuses.empty() || statuses.back() != bar.panelText(1))
                statuses.push_back(bar.panelText(1));
        });
        wizard().form()["ProgressBar1"].listen(
            [this](forms::Control& bar) { waitingBar.push_back(bar.down()); });
    }

    // What a user does on a page of a site without a connection: Edit site,
    // then the wizard's pages, then Finished.
    void finishWith(const std::string& password, const std::string& siteAddress = "") {
        control("designmode").click();
        ASSERT_TRUE(wizard().Visible());
        if (!siteAddress.empty())
            wizard().siteedit().setText(siteAddress);
        wizard().ftpserveredit().setText(site.ftpServer());
        forms::Form& w = wizard().form();
        w["Netx"].click();
        wizard().ftploginedit().setText(LocalSite::kLogin);
        wizard().ftppasswordedit().setText(password);
        w["Netx"].click();
        wizard().ftpinitialfolderedit().setText("");
        ASSERT_TRUE(w["finished"].visible());
        w["finished"].click();
    }
    shell::FtpSessionFormObject& ftp() {
        return *shell::processFormAs<shell::FtpSessionFormObject>(shell::ProcessFormSlot::Ftp);
    }
    std::string iniText() { return testfiles::readFile(places::configFolder() / "tavrisk.ini"); }
    std::vector<std::string> captions() {
        std::vector<std::string> result;
        for (const auto& shown : dialogs.shown())
            result.push_back(shown.caption);
        return result;
    }
    // After a failure: out of edit mode, tools off, session closed.
    void expectIdle() {
        EXPECT_FALSE(control("designmode").down());
        EXPECT_THAT(enabledTools(), UnorderedElementsAre("designmode", "btnNew", "ToolButton8"));
        EXPECT_EQ(doc().designMode, "Off");
        EXPECT_FALSE(ftp().connected());
        EXPECT_EQ(control("StatusBar1").panelText(1), "Not connected - Press Edit to connect");
        EXPECT_THAT(waitingBar, ElementsAre(true, false)) << "the bar ran, then stopped";
    }

    LocalSite site;
    std::vector<std::string> statuses;
    std::vector<bool> waitingBar;
};

TEST_F(WizardRunTest, AWrongPasswordSaysItCannotConnectAndSavesNothing) {
    finishWith("not the password");
    EXPECT_THAT(dialogs.messages(), ElementsAre("Could not connect"));
    EXPECT_THAT(captions(), ElementsAre("Warning"));
    expectIdle();
    EXPECT_EQ(wizard().store().lists().count(), 0u);
    EXPECT_THAT(iniText(), Not(HasSubstr(site.ftpServer())));
    // The wizard stays, on the page it was finished from, to be corrected.
    EXPECT_TRUE(wizard().Visible());
    EXPECT_EQ(wizard().form()["Notebook1"].activePage(), "page2");
    EXPECT_THAT(statuses, Contains("Connecting to " + site.ftpServer() + "..."));
}

TEST_F(WizardRunTest, AFolderWithoutADefaultPageSaysSoAndKeepsTheNewConnection) {
    finishWith(LocalSite::kPassword);
    EXPECT_THAT(dialogs.messages(), ElementsAre("default page not found"));
    EXPECT_THAT(captions(), ElementsAre("Warning"));
    expectIdle();
    EXPECT_THAT(ftp().session.DirectoryListBox, Contains(HasSubstr("about.htm")));
    ASSERT_EQ(wizard().store().lists().count(), 1u);
    EXPECT_EQ(wizard().store().lists().at(0),
              (connections::SiteConnection{site.url(""), site.ftpServer(), LocalSite::kLogin,
                                           LocalSite::kPassword, ""}));
    EXPECT_THAT(iniText(), HasSubstr("Item0=" + site.ftpServer()));
}

TEST_F(WizardRunTest, ARefusedDownloadNamesThePageItCouldNotRetrieve) {
    // A folder by the default page's name: listed, but not retrievable.
    std::filesystem::create_directory(site.folder() / "index.html");
    finishWith(LocalSite::kPassword);
    EXPECT_THAT(dialogs.messages(), ElementsAre("Could not retrieve the page: index.html"));
    EXPECT_THAT(captions(), ElementsAre("Warning"));
    expectIdle();
    EXPECT_EQ(wizard().store().lists().count(), 1u);
    EXPECT_EQ(browser->locationURL, site.url("/")) << "no working copy was shown";
    EXPECT_THAT(statuses, Contains("Retrieving index.html..."));
}

TEST_F(WizardRunTest, APageNamedByTheAddressIsOpenedWithoutListingTheFolder) {
    site.write("index.html", "<html><body>Home</body></html>");
    site.write("contact.htm", "<html><body>Contact us</body></html>");
    browser->locationURL = site.url("/contact.htm?rnd=5");
    finishWith(LocalSite::kPassword, site.url(""));
    EXPECT_THAT(dialogs.messages(), IsEmpty());
    EXPECT_THAT(ftp().session.DirectoryListBox, IsEmpty());
    EXPECT_EQ(form->FRemotePageURL, site.url("/contact.htm?rnd=5"));
    std::string copy = browser->locationURL;
    ASSERT_THAT(copy, HasSubstr("temp.htm"));
    if (copy.rfind("file://", 0) == 0)
        copy.erase(0, std::string("file://").size());
    std::string text = testfiles::readFile(copy);
    EXPECT_THAT(text, HasSubstr("Contact us"));
    EXPECT_THAT(text, HasSubstr("<base href=\"" + site.url("/") + "\"/>"));
    EXPECT_FALSE(wizard().Visible());
    EXPECT_EQ(wizard().store().lists().count(), 1u);
    struct stat info {};
    ASSERT_EQ(::stat((places::configFolder() / "tavrisk.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(WizardRunTest, ASiteTypedWithAFolderIsSavedOnceHoweverOftenItIsFinished) {
    site.write("shop/index.html", "<html><body>Shop</body></html>");
    browser->locationURL = site.url("/shop/");
    for (int run = 0; run < 2; ++run) {
        control("designmode").setDown(false);
        wizard().Show();
        wizard().siteedit().setText(site.url("/shop/"));
        wizard().ftpserveredit().setText(site.ftpServer());
        wizard().ftploginedit().setText(LocalSite::kLogin);
        wizard().ftppasswordedit().setText(LocalSite::kPassword);
        wizard().ftpinitialfolderedit().setText("");
        wizard().finishedClick();
        ASSERT_THAT(dialogs.messages(), IsEmpty()) << "run " << run;
        browser->locationURL = site.url("/shop/");
    }
    EXPECT_EQ(wizard().store().lists().count(), 1u);
    EXPECT_THAT(wizard().store().lists().siteweb, ElementsAre(site.url("/shop/")));
}

TEST_F(WizardRunTest, ClosingTheWizardDuringTheTestCallsItOffQuietlyAndSavesNothing) {
    // The server takes its time over a wrong password: the user gives up.
    MainLoopTimer closed{[this] { wizard().form().close(); }};
    closed.scheduleIn(300);
    finishWith("not the password");
    ASSERT_TRUE(closed.ran());
    EXPECT_THAT(dialogs.messages(), IsEmpty());
    EXPECT_FALSE(wizard().Visible());
    EXPECT_FALSE(ftp().connected());
    EXPECT_FALSE(control("designmode").down());
    EXPECT_EQ(wizard().store().lists().count(), 0u);
    EXPECT_THAT(iniText(), Not(HasSubstr(site.ftpServer())));
}
