#include "BandFormFixture.h"

#include "dialogs/TForm2.h"
#include "shell/BrowserClick.h"
#include "shell/BrowserEvents.h"
#include "shell/FtpSessionForm.h"

using shell::ProcessFormSlot;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

TEST_F(BandFormTest, CreatedIdleWithOnlyTheSwitchNewAndFtpParameters) {
    EXPECT_THAT(enabledTools(), UnorderedElementsAre("designmode", "btnNew", "ToolButton8"));
    EXPECT_THAT(visibleTabs(), ElementsAre("Txt"));
    EXPECT_EQ(control("designmode").caption(), "Edit site");
    EXPECT_EQ(control("designmode").hint(), "Press here to edit the document");
    EXPECT_EQ(control("StatusBar1").panelText(1), "Not connected - Press Edit to connect");
    EXPECT_FALSE(control("Memo1").visible());
    EXPECT_FALSE(control("ToolButton14").visible());
    EXPECT_EQ(form->FTempPageName, "temp.htm");
    EXPECT_EQ(control("helper").text(), "file://" + form->FWindowsFolder + "1.htm");
    EXPECT_EQ(win::GetClientSize(form->Handle()).width, 1016);
    // No navigation events reach the form before edit mode is first entered.
    EXPECT_EQ(browser->sinkCount(), 0u);
}

TEST_F(BandFormTest, CreatesTheProcessFormsOnceLinkedToTheFirstBandForm) {
    for (int i = 0; i < static_cast<int>(ProcessFormSlot::Count); ++i)
        ASSERT_NE(shell::processForm(static_cast<ProcessFormSlot>(i)), nullptr) << i;
    auto* pageProperties = shell::processFormAs<dialogs::TForm2>(ProcessFormSlot::PageProperties);
    EXPECT_EQ(pageProperties->FBandForm, form.get());
    EXPECT_EQ(wizard().FBandForm, form.get());
    EXPECT_FALSE(pageProperties->Visible());
    auto* ftp = shell::processFormAs<shell::FtpSessionFormObject>(ProcessFormSlot::Ftp);
    EXPECT_EQ(ftp->session.FBandForm, form.get());
    EXPECT_EQ(ftp->session.FErrorRoutine, &wizard());

    TBandForm second(barArea);
    EXPECT_EQ(shell::processForm(ProcessFormSlot::PageProperties), pageProperties);
    EXPECT_EQ(pageProperties->FBandForm, form.get());
    EXPECT_EQ(wizard().FBandForm, form.get());
    for (const char* name : {"designmode", "btnNew", "ToolButton8"})
        EXPECT_FALSE(second[name].enabled()) << name;
    second["designmode"].click();
    EXPECT_FALSE(second["designmode"].down());
}

TEST_F(BandFormTest, EditSiteOnALocalPageEntersEditing) {
    control("designmode").click();

    EXPECT_TRUE(control("designmode").down());
    EXPECT_EQ(doc().designMode, "On");
    EXPECT_EQ(control("designmode").caption(), "Publish");
    EXPECT_EQ(control("designmode").hint(), "Press here to publish the document");
    EXPECT_EQ(control("StatusBar1").panelText(0), browser->locationURL);
    EXPECT_TRUE(control("Anewfileonyourserver1").enabled());
    EXPECT_THAT(visibleTabs(), ElementsAre("Txt"));
    for (const char* bar : forms::kBandToolbars)
        for (forms::Control* c : form->form().children(bar))
            EXPECT_TRUE(c->enabled()) << c->name();
    EXPECT_THAT(doc().commands, ElementsAre(fake::CommandCall{"LiveResize", false, true},
                                            fake::CommandCall{"2D-Position", false, true}));
    // Glyphs shown at entry.
    EXPECT_TRUE(control("pi").down());
    EXPECT_EQ(control("pi").hint(), "Hide glyphs");
    ASSERT_EQ(doc().execs.size(), 5u);
    EXPECT_EQ(doc().execs[0], (fake::ExecCall{IDM_SHOWZEROBORDERATDESIGNTIME, true}));
    // One sink for both events; the browser's events now reach the form.
    ASSERT_EQ(doc().attached.size(), 2u);
    EXPECT_EQ(doc().attached[0].first, "onClick");
    EXPECT_EQ(doc().attached[1].first, "onmouseup");
    EXPECT_EQ(doc().attached[0].second, doc().attached[1].second);
    EXPECT_EQ(browser->sinkCount(), 1u);
    EXPECT_EQ(form->FDocument.get(), static_cast<IHTMLDocument2*>(browser->document.get()));
    // A local page needs no connection.
    EXPECT_EQ(form->FEditedPageUrl, "");
    EXPECT_THAT(dialogs.messages(), IsEmpty());
}

TEST_F(BandFormTest, PublishingLeavesEditingAndShowsThePublishedPage) {
    control("designmode").click();
    form->FRemotePageURL = "http://www.example.org/page.htm";
    control("designmode").click();

    EXPECT_FALSE(control("designmode").down());
    EXPECT_EQ(doc().designMode, "Off");
    EXPECT_EQ(control("designmode").caption(), "Edit site");
    EXPECT_EQ(control("designmode").hint(), "Press here to edit the document");
    EXPECT_THAT(enabledTools(), UnorderedElementsAre("designmode", "btnNew", "ToolButton8"));
    EXPECT_THAT(visibleTabs(), IsEmpty());
    EXPECT_FALSE(control("Anewfileonyourserver1").enabled());
    EXPECT_EQ(control("StatusBar1").panelText(1), "Not connected - Press Edit to connect");
    ASSERT_EQ(browser->navigations.size(), 1u);
    EXPECT_THAT(browser->navigations[0],
                ::testing::MatchesRegex(
                    R"(http://www\.example\.org/page\.htm\?rnd=(0|[1-9][0-9]?[0-9]?[0-9]?))"));
    // Declining the upload still shows the page as it is on the site.
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Upload the file to your server ?");
}

TEST_F(BandFormTest, MissingBrowserWindowsHoldTheButtonDownUntilTheNextClickPublishes) {
    win::DestroyWindow(frame);
    control("designmode").click();
    EXPECT_TRUE(control("designmode").down());
    EXPECT_EQ(doc().designMode, "Off");
    EXPECT_THAT(enabledTools(), UnorderedElementsAre("designmode", "btnNew", "ToolButton8"));

    form->FRemotePageURL.clear();
    control("designmode").click();
    EXPECT_FALSE(control("designmode").down());
    // Not a site page: declining to save it reloads it, and nothing else
    // is navigated to.
    EXPECT_EQ(dialogs.shown().back().text, "Save the file to your disk ?");
    EXPECT_THAT(browser->navigations, ElementsAre("file:///home/user/site/page.htm"));
    EXPECT_EQ(control("StatusBar1").panelText(1), "Not connected - Press Edit to connect");
}

TEST_F(BandFormTest, AnAboutPageStartsANewPageInsteadWhicheverWayTheButtonWent) {
    browser->locationURL = "about:blank";
    control("designmode").click();
    EXPECT_FALSE(control("designmode").down());
    EXPECT_THAT(enabledTools(), UnorderedElementsAre("designmode", "btnNew", "ToolButton8"));
    EXPECT_EQ(doc().designMode, "Off");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Start a new page ?");
}

TEST_F(BandFormTest, ASitePageWithoutSavedConnectionOpensTheWizard) {
    browser->locationURL = "http://www.example.org/dir/page.htm?x=1";
    control("designmode").click();
    EXPECT_FALSE(control("designmode").down());
    EXPECT_EQ(wizard().siteedit().text(), "http://www.example.org");
    EXPECT_TRUE(wizard().Visible());
    EXPECT_EQ(doc().designMode, "Off");
    EXPECT_THAT(dialogs.messages(), IsEmpty());
}

TEST_F(BandFormTest, ASitePageWithASavedConnectionTestsItAndEndsIdleWhenItCannotConnect) {
    std::string nobody = "127.0.0.1:" + std::to_string(freeLoopbackPort());
    wizard().store().lists().add({"http://WWW.example.org", nobody, "me", "secret", "/www"});
    browser->locationURL = "http://www.example.org/dir/page.htm";
    control("designmode").click();

    // The connection step filled the wizard from the saved connection and
    // ran its test, whose failure ended edit mode.
    EXPECT_FALSE(control("designmode").down());
    EXPECT_EQ(doc().designMode, "Off");
    EXPECT_THAT(enabledTools(), UnorderedElementsAre("designmode", "btnNew", "ToolButton8"));
    EXPECT_EQ(form->FEditedPageUrl, browser->locationURL);
    EXPECT_EQ(wizard().ftpserveredit().text(), nobody);
    EXPECT_EQ(wizard().ftpinitialfolderedit().text(), "/www");
    EXPECT_EQ(connections::Tftpparameters::current().ftplogin, "me");
    EXPECT_FALSE(wizard().Visible());
    EXPECT_THAT(dialogs.messages(), ElementsAre("Could not connect"));
    auto* ftp = shell::processFormAs<shell::FtpSessionFormObject>(ProcessFormSlot::Ftp);
    EXPECT_FALSE(ftp->connected());
    EXPECT_EQ(ftp->session.remotestart, "/www/dir/");
    EXPECT_EQ(control("StatusBar1").panelText(1), "Not connected - Press Edit to connect");
}

TEST_F(BandFormTest, ASecureAddressSkipsTheLookupAndIsEditedWithoutFtp) {
    wizard().form()["Notebook1"].setActivePage("page2");
    wizard().form()["finished"].setVisible(true);
    wizard().ftpserveredit().setText("old.example.org");
    browser->locationURL = "https://secure.example.org/page.htm";
    control("designmode").click();
    EXPECT_TRUE(control("designmode").down());
    EXPECT_EQ(doc().designMode, "On");
    // The connection step still ran on the address made of the location.
    connections::UrlParts made = connections::traitep(browser->locationURL);
    EXPECT_EQ(wizard().siteedit().text(), made.protocol + "://" + made.host);
    EXPECT_EQ(wizard().ftpserveredit().text(), "");
    // The wizard was reset to its first page before the fields were preset.
    EXPECT_EQ(wizard().form()["PageControl1"].activePage(), "TabSheet1");
    EXPECT_EQ(wizard().form()["Notebook1"].activePage(), "page0");
    EXPECT_FALSE(wizard().form()["finished"].visible());
    EXPECT_TRUE(wizard().Visible());
    EXPECT_THAT(dialogs.messages(), IsEmpty());
    EXPECT_EQ(form->FEditedPageUrl, browser->locationURL);
}

TEST_F(BandFormTest, NavigatingAwayEndsEditingAsTheStateTableSays) {
    control("designmode").click();
    ASSERT_EQ(doc().designMode, "On");

    // Leave the edited page.
    dialogs.queue(ui::Answer::Ok);
    EXPECT_EQ(beforeNavigate("file:///home/user/other.htm"), S_OK);
    EXPECT_TRUE(control("designmode").down()); // held
    EXPECT_EQ(doc().designMode, "Off");
    EXPECT_THAT(enabledTools(), UnorderedElementsAre("designmode", "btnNew", "ToolButton8"));

    browser->locationURL = "file:///home/user/other.htm";
    EXPECT_EQ(documentComplete(browser->locationURL), S_OK);
    EXPECT_FALSE(control("designmode").down()); // idle
    EXPECT_EQ(doc().designMode, "Off");

    // Idle: BeforeNavigate2 leaves everything alone.
    doc().designMode = "On";
    beforeNavigate("file:///x.htm");
    EXPECT_EQ(doc().designMode, "On");
}

TEST_F(BandFormTest, TheWorkingCopyEntersEditingByItselfWhateverTheLetterCase) {
    control("designmode").click();
    documentComplete("file:///elsewhere.htm");
    ASSERT_FALSE(control("designmode").down());

    std::string upper = workingCopyUrl();
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    browser->locationURL = workingCopyUrl();
    EXPECT_TRUE(form->isWorkingCopy(upper));
    EXPECT_FALSE(form->isWorkingCopy(workingCopyUrl() + "x"));
    EXPECT_EQ(documentComplete(upper), S_OK);
    EXPECT_TRUE(control("designmode").down());
    EXPECT_EQ(doc().designMode, "On");
}

TEST_F(BandFormTest, ErrorsInNavigationHandlersBecomeFailuresWithoutABox) {
    control("designmode").click();
    browser->locationURL = workingCopyUrl();
    doc().failingCommands = {{"liveresize", "Invalid argument"}};
    EXPECT_TRUE(FAILED(documentComplete(workingCopyUrl())));
    EXPECT_THAT(dialogs.messages(), IsEmpty());
}

TEST_F(BandFormTest, AFailingCommandIsReportedWithThePeriodRuleAndEndsTheHandler) {
    control("designmode").click();
    doc().failingCommands = {{"bold", "Invalid argument"}};
    control("btnBold").click();
    EXPECT_THAT(dialogs.messages(), ElementsAre("Invalid argument."));
    // The failed command is the last one sent.
    EXPECT_THAT(editCommands(), ElementsAre(fake::CommandCall{"Bold", true, true}));
}

TEST_F(BandFormTest, RefusedBrowserEventsReportTheComponent) {
    browser->adviseError = "No connection point";
    control("designmode").click();
    EXPECT_THAT(dialogs.messages(),
                ElementsAre("Unable to connect DWebBrowserEvents21.\rNo connection point."));
}

TEST_F(BandFormTest, TheClickSinkRunsItsHandlerForAnyCallAndOutlivesItsForm) {
    control("designmode").click();
    IDispatch* sink = doc().attached[0].second;
    auto invoke = [&] {
        return sink->Invoke(7, iidOf<IUnknown>(), 0, 1, nullptr, nullptr, nullptr, nullptr);
    };

    doc().selectText(doc().body()->append("p"), false);
    doc().commandValues = {{"bold", true}, {"italic", false}, {"underline", false}};
    EXPECT_EQ(invoke(), S_OK);
    EXPECT_TRUE(control("btnBold").down());

    // The document holds the sink once for each event it is attached to.
    auto* click = static_cast<TBrowserClick*>(sink);
    ASSERT_EQ(click->refCount(), 2u);
    ComPtr<IUnknown> asUnknown;
    EXPECT_EQ(sink->QueryInterface(iidOf<IUnknown>(), asUnknown.putVoid()), S_OK);
    EXPECT_EQ(click->refCount(), 3u);
    asUnknown = nullptr;
    EXPECT_EQ(click->refCount(), 2u);

    size_t held = TBrowserClick::referencedCount();
    form.reset();
    EXPECT_EQ(invoke(), S_OK);
    // Once the document lets it go, the sink no longer counts as held.
    browser->document = nullptr;
    EXPECT_EQ(click->refCount(), 0u);
    EXPECT_EQ(TBrowserClick::referencedCount(), held - 1);
}

TEST_F(BandFormTest, HabilitetoolsSwitchesTheInsertionButtons) {
    control("designmode").click();
    form->deshabilitetools();
    for (const char* name :
         {"ToolButton14", "ToolButton11", "ToolButton5", "ToolButton28", "ToolButton13"})
        EXPECT_FALSE(control(name).enabled()) << name;
    EXPECT_TRUE(control("ToolButton16").enabled());
    form->habilitetools();
    for (const char* name :
         {"ToolButton14", "ToolButton11", "ToolButton5", "ToolButton28", "ToolButton13"})
        EXPECT_TRUE(control(name).enabled()) << name;
}

TEST_F(BandFormTest, WaitingReturnsOnceTheBrowserIsIdle) {
    browser->busyAnswers = {true, true, true};
    form->waiting();
    EXPECT_THAT(browser->busyAnswers, IsEmpty());
    EXPECT_EQ(browser->busyReads, 4);
}

TEST_F(BandFormTest, DestroyingTheFormEndsTheHostDocumentWindowLoop) {
    form.reset();
    EXPECT_TRUE(win::TakeQuitRequest());
    win::DestroyWindow(frame);
    form = std::make_unique<TBandForm>(barArea =
                                           win::CreateWindowObject({"BarArea", "", nullptr, 1, 1}));
    form.reset();
    EXPECT_FALSE(win::TakeQuitRequest());
    win::DestroyWindow(barArea);
}

TEST_F(BandFormTest, TheWizardsErrorEndsEditing) {
    control("designmode").click();
    ASSERT_EQ(doc().designMode, "On");
    wizard().error("Could not connect");
    EXPECT_FALSE(control("designmode").down());
    EXPECT_EQ(doc().designMode, "Off");
    EXPECT_THAT(enabledTools(), UnorderedElementsAre("designmode", "btnNew", "ToolButton8"));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Could not connect");
    EXPECT_EQ(dialogs.shown()[0].caption, "Warning");
}

TEST_F(BandFormTest, ChoosingAPropertyPageClearsItsPanels) {
    for (const char* field :
         {"TWidth", "Tcouleur", "tborder", "TcellSpa", "isrc", "ialt", "ialign"})
        control(field).setText("x");
    control("PageControl1").choosePage("ptable");
    for (const char* field : {"TWidth", "Tcouleur", "tborder", "TcellSpa"})
        EXPECT_EQ(control(field).text(), "") << field;
    EXPECT_EQ(control("ialt").text(), "x");
    control("PageControl1").choosePage("pimage");
    for (const char* field : {"isrc", "ialt", "ialign"})
        EXPECT_EQ(control(field).text(), "") << field;
}

TEST_F(BandFormTest, TheWorkingCopyCompletingWhileTheSwitchWaitsEntersEditingInsideIt) {
    browser->locationURL = workingCopyUrl();
    control("designmode").click(); // the browser's events reach the form from here on
    control("designmode").click();
    dialogs.clear();
    doc().attached.clear();

    browser->whileWaiting = [&] { documentComplete(workingCopyUrl()); };
    control("designmode").click();
    EXPECT_TRUE(control("designmode").down());
    EXPECT_EQ(doc().designMode, "On");
    EXPECT_EQ(control("designmode").caption(), "Publish");
    // Each run attached its own sink; nothing guards against the second.
    EXPECT_EQ(doc().attached.size(), 4u);
    EXPECT_EQ(browser->sinkCount(), 1u);
    EXPECT_THAT(dialogs.messages(), IsEmpty());
}
