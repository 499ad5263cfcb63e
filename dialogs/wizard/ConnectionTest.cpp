// The wizard's connection test: from the fields (or a saved connection) to
// an open FTP session, the page found on the server, and that page open for
// editing.

#include "dialogs/wizard/Tformwizzard.h"

#include "connections/SiteLookup.h"
#include "connections/TextOps.h"
#include "connections/Tftpparameters.h"
#include "forms/BandFormDescription.h"
#include "platform/browser/Dom.h"
#include "platform/ui/Dialogs.h"
#include "publishing/ftp/TMainForm.h"

#include <stdexcept>

namespace dialogs {

namespace {

std::string trimmed(const std::string& s) {
    auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

// Marks one run of finishedClick. While the wizard is on screen it shows the
// testing page with its moving bar; when the run ends the bar stops and, if
// the run failed, the wizard goes back to the page it was on, so that the
// user can correct the fields.
class Tformwizzard::RunScope {
public:
    explicit RunScope(Tformwizzard& wizard) : m_wizard(wizard) {
        m_wizard.m_run = Run{};
        m_wizard.m_run.active = true;
        m_wizard.form()["finished"].setEnabled(false);
    }
    ~RunScope() {
        forms::Form& f = m_wizard.form();
        f["ProgressBar1"].setDown(false);
        f["finished"].setEnabled(true);
        const std::string& back = m_wizard.m_run.returnPage;
        if (!back.empty() && f["Notebook1"].activePage() == "3") {
            f["Notebook1"].setActivePage(back);
            m_wizard.m_pages.enableButtons();
        }
        m_wizard.m_run = Run{};
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    // Connecting and listing take a while: the bar moves meanwhile.
    static void startWaiting(Tformwizzard& wizard) {
        forms::Form& f = wizard.form();
        f["ProgressBar1"].setDown(true);
        if (!wizard.Visible() || f["Notebook1"].activePage() == "3")
            return;
        wizard.m_run.returnPage = f["Notebook1"].activePage();
        f["Notebook1"].setActivePage("3");
        f["Previous"].setEnabled(false);
        f["Netx"].setEnabled(false);
    }

private:
    Tformwizzard& m_wizard;
};

bool Tformwizzard::connectionexiste(const std::string& address) {
    connections::ConnectionLists& lists = m_store.lists();
    lists.equalize();
    for (size_t i = 0; i < lists.count(); ++i) {
        if (connections::siteMatches(lists.siteweb[i], address)) {
            connections::Tftpparameters::current().assign(lists.at(i));
            return true;
        }
    }
    return false;
}

bool Tformwizzard::knownSite(const std::string& key) {
    // A site saved with a folder (http://host/shop/) is not found by its
    // root: looked up by the address as typed, it is not added twice.
    return connectionexiste(key) || connectionexiste(siteedit().text());
}

std::string Tformwizzard::recherchedefaultpage(const connections::UrlParts& address) {
    if (!trimmed(address.document).empty()) {
        std::string page = address.document;
        connections::text::nettoie(page);
        return page;
    }
    FMainForm->remotestart = ftpinitialfolderedit().text();
    FMainForm->ChDirButtonClick();
    return connections::findDefaultPage(FMainForm->DirectoryListBox).value_or(kNotFound);
}

void Tformwizzard::bandStatus(const std::string& text) {
    if (FBandForm)
        FBandForm->panelinfo(text);
}

void Tformwizzard::finishedClick() {
    // A second press, or a call from the band, while a test is under way
    // would interleave two sessions on the one FTP client.
    if (m_run.active)
        return;
    if (!FBandForm || !FMainForm)
        throw std::logic_error("The site wizard is not linked to a band form");
    RunScope run(*this);
    if (runTest())
        closeForm();
}

bool Tformwizzard::runTest() {
    connections::ConnectionLists& lists = m_store.lists();
    if (m_editMode) {
        lists.equalize();
        if (m_editIndex < lists.count())
            lists.set(m_editIndex, fields());
        m_store.save();
    }
    ftp::FtpClient& client = FMainForm->IdFTP1;
    if (client.Connected())
        client.Disconnect();
    connections::Tftpparameters::current().assign(fields());
    FBandForm->setPageUri(connections::UrlParts::parse(siteedit().text()));

    browser::Browser shown(FBandForm->browser());
    if (shown.locationURL().find(siteedit().text()) == std::string::npos) {
        shown.navigate(siteedit().text());
        FBandForm->waiting();
        closeForm();
    }
    if (m_run.calledOff)
        return endCalledOff(), false;
    if (!connectToServer())
        return false;

    FMainForm->remotestart = FBandForm->pageUri().path;
    std::string key = connections::siteRoot(FBandForm->pageUri());
    bool added = false;
    if (!knownSite(key)) {
        lists.add(fields());
        m_store.save();
        added = true;
    }
    return openPage(key, added);
}

bool Tformwizzard::connectToServer() {
    browser::Browser shown(FBandForm->browser());
    FMainForm->FtpServerEdit = ftpserveredit().text();
    FMainForm->UserIDEdit = ftploginedit().text();
    FMainForm->PasswordEdit = ftppasswordedit().text();
    std::string path = connections::UrlParts::parse(shown.locationURL()).path;
    FMainForm->remotestart = connections::joinFolders(ftpinitialfolderedit().text(), path);
    // Where the session stands when it needs no change of folder.
    FMainForm->CurrentDirEdit = FMainForm->remotestart;

    bandStatus("Connecting to " + ftpserveredit().text() + "...");
    RunScope::startWaiting(*this);
    try {
        FMainForm->ConnectButtonClick();
    } catch (const std::exception& e) {
        // The session form has reported it through error().
        trace(std::string("connect: ") + e.what());
        return false;
    }
    if (m_run.calledOff)
        return endCalledOff(), false;
    if (!FMainForm->IdFTP1.Connected() || !FMainForm->FErrorText.empty()) {
        ui::dialogs().message("Connection Failed. please verify login and password parameters",
                              "Error", ui::Icon::Error);
        return false;
    }
    return true;
}

bool Tformwizzard::openPage(const std::string& key, bool added) {
    browser::Browser shown(FBandForm->browser());
    std::string location = shown.locationURL();
    location = location.substr(0, location.find("?rnd="));
    FBandForm->setPageUri(connections::UrlParts::parse(location));

    bandStatus("Looking for the page on the server...");
    std::string page = recherchedefaultpage(FBandForm->pageUri());
    if (m_run.calledOff)
        return endCalledOff(), false;
    // A listing that failed has been reported and the session closed.
    if (!FMainForm->IdFTP1.Connected())
        return false;
    if (page == kNotFound)
        return error("default page not found"), false;

    connections::UrlParts address = connections::UrlParts::parse(shown.locationURL());
    address.document = page;
    FBandForm->setPageUri(address);
    bandStatus("Retrieving " + page + "...");
    try {
        FMainForm->getfile(page);
    } catch (const std::exception& e) {
        trace(std::string("getfile: ") + e.what());
        if (m_run.calledOff)
            return endCalledOff(), false;
        return error("Could not retrieve the page: " + page), false;
    }
    if (m_run.calledOff)
        return endCalledOff(), false;

    form()["PageControl1"].setActivePage("TabSheet2");
    forms::Control& list = form()["ListBox1"];
    if (!list.items().empty())
        list.setItemIndex(static_cast<int>(list.items().size()) - 1);
    form()["Notebook1"].setActivePage("page0");
    if (!knownSite(key))
        m_store.save();
    bandStatus("Connected to " + ftpserveredit().text());
    if (added) {
        FBandForm->setEditButtonDown(true);
        FBandForm->designmodeClick();
    }
    return true;
}

void Tformwizzard::error(const std::string& message) {
    if (FBandForm) {
        FBandForm->setEditButtonDown(false);
        FBandForm->deshabilitetout();
        try {
            FBandForm->DesignModeoff();
        } catch (const std::exception&) {
            // No document to take out of design mode: nothing is edited.
        }
        FBandForm->disconnectFtp();
        FBandForm->panelinfo(forms::kNotConnected);
    }
    if (!m_run.calledOff)
        ui::dialogs().message(message, "Warning", ui::Icon::Warning);
}

void Tformwizzard::endCalledOff() {
    trace("ended: called off");
    error("");
}

} // namespace dialogs
