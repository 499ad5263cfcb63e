#include "shell/BandForm.h"

#include "connections/SiteLookup.h"
#include "connections/TextOps.h"
#include "connections/Tftpparameters.h"
#include "dialogs/wizard/Tformwizzard.h"
#include "forms/BandFormDescription.h"
#include "forms/NotAvailable.h"
#include "forms/gtk/FormView.h"
#include "platform/loop/PumpUntil.h"
#include "platform/places/Places.h"
#include "platform/window/Application.h"
#include "shell/BrowserClick.h"
#include "shell/BrowserEvents.h"
#include "shell/FtpSessionForm.h"
#include "shell/InsertionTools.h"
#include "shell/LeavingPage.h"
#include "shell/ProcessForms.h"
#include "shell/SecondaryForms.h"
#include "tools/BrowserCalls.h"
#include "tools/Colors.h"
#include "tools/Formatting.h"
#include "tools/Glyphs.h"
#include "tools/Images.h"
#include "tools/SelectionPanels.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <random>

using shell::ProcessFormSlot;

namespace {

// How long the bar waits for a page to finish loading.
constexpr std::chrono::milliseconds kLoadLimit{60000};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The browser's page window: the first "Internet Explorer_Server" in the
// first "Shell DocObject View" of the first "IEFrame"; null when one is
// missing.
HWND browserPageWindow() {
    HWND frame = win::FindWindow("IEFrame");
    HWND view = frame ? win::FindWindowEx(frame, nullptr, "Shell DocObject View") : nullptr;
    return view ? win::FindWindowEx(view, nullptr, "Internet Explorer_Server") : nullptr;
}

// The small page the text page's own browser shows.
void writeHelperPage(const std::string& path) {
    std::ifstream existing(path);
    if (existing)
        return;
    std::ofstream page(path, std::ios::binary);
    page << "<html><body style=\"margin:2px;font:11px sans-serif;color:#555\">"
            "Select text in the page, then format it with the buttons above.</body></html>\r\n";
}

} // namespace

TBandForm::TBandForm(HWND parent) : m_form(forms::bandFormDescription()) {
    win::Size size = designSize();
    m_handle = win::CreateWindowObject({"TBandForm", "Tavrisk", parent, size.width, size.height});
    DWebBrowserEvents21 =
        ComPtr<TDWebBrowserEvents2>(new TDWebBrowserEvents2("DWebBrowserEvents21"));
    DWebBrowserEvents21->OnBeforeNavigate2 = [this](const std::string& url,
                                                    const std::string& frame, bool& cancel) {
        DWebBrowserEvents21BeforeNavigate2(url, frame, cancel);
    };
    DWebBrowserEvents21->OnDocumentComplete = [this](const std::string& url, bool topLevel) {
        DWebBrowserEvents21DocumentComplete(url, topLevel);
    };
    m_pictureDialog = std::make_unique<tools::PictureDialog>();
    bindPanelHandlers();
    bindHandlers();
    FormCreate();
    m_view = forms::gtkview::buildIfDisplayed(m_form, m_handle);
}

TBandForm::~TBandForm() {
    FormDestroy();
    for (TBrowserClick* sink : m_sinks)
        sink->OnClick = nullptr;
    DWebBrowserEvents21->OnBeforeNavigate2 = nullptr;
    DWebBrowserEvents21->OnDocumentComplete = nullptr;
    DWebBrowserEvents21->Disconnect();
    m_view.reset();
    win::DestroyWindow(m_handle);
}

void TBandForm::setBrowser(ComPtr<IWebBrowser2> browser) {
    FBrowser = std::move(browser);
}

void TBandForm::FormCreate() {
    try {
        m_form["Memo1"].setVisible(false);
        m_form["Button3"].setVisible(false);
        m_form["Button4"].setVisible(false);
        FUploadNames.clear();
        FUploadFiles.clear();
        FWindowsFolder = places::withTrailingSlash(places::dataFolder());
        FTempPageName = "temp.htm";
        writeHelperPage(FWindowsFolder + "1.htm");
        m_form["helper"].setText("file://" + FWindowsFolder + "1.htm");
        FPageUri = connections::UrlParts();
        if (shell::processForm(ProcessFormSlot::PageProperties)) {
            // Another band form of this process does the editing.
            m_form["designmode"].setEnabled(false);
            m_form["btnNew"].setEnabled(false);
            m_form["ToolButton8"].setEnabled(false);
            return;
        }
        shell::createMissingProcessForms();
        FGalleryForImage = false;
        shell::linkProcessForms(this);
    } catch (const std::exception&) {
        app::Terminate();
    }
}

void TBandForm::FormDestroy() {
    // Ends the host's document window loop, as the browser window goes with
    // the bar.
    try {
        if (HWND server = browserPageWindow())
            win::PostMessage(server, WM_QUIT, 0, 0);
    } catch (const std::exception&) {
        // The bar is going away with its window: there is no one left to
        // tell, and the host ends its loop by itself when its window closes.
    }
}

void TBandForm::bindHandlers() {
    m_form["designmode"].onClick = [this] { designmodeClick(); };
    m_form["btnNew"].onClick = [this] { btnNewClick(); };
    m_form["Startablankpage1"].onClick = [this] { btnNewClick(); };
    m_form["Startawebpagefromtemplate1"].onClick = [this] { Startawebpagefromtemplate1Click(); };
    m_form["Anewfileonyourserver1"].onClick = [this] { Anewfileonyourserver1Click(); };
    m_form["btnOpen"].onClick = [this] { btnOpenClick(); };
    m_form["btnSave"].onClick = [this] { btnSaveClick(); };
    m_form["btnCancelUpload"].onClick = [this] { btnCancelUploadClick(); };
    m_form["ToolButton8"].onClick = [this] { ToolButton8Click(); };
    m_form["pi"].onClick = [this] { piClick(); };
    m_form["PageControl1"].onChange = [this] { PageControl1Change(); };
    m_form["cmbFontName"].onChange = [this] { cmbFontNameChange(); };
    m_form["cmbFontSize"].onChange = [this] { cmbFontSizeChange(); };
    m_form["cmbFontName"].onEnter = [this] { keepPageSelection(); };
    m_form["cmbFontSize"].onEnter = [this] { keepPageSelection(); };
    m_form["cmdcolor"].onChange = [this] { cmdcolorChange(); };
    m_form["ToolButton23"].onClick = [] {
        if (auto* form = shell::processForm(ProcessFormSlot::PageProperties))
            form->Show();
    };
    m_form["ToolButton18"].onClick = [] {
        if (auto* form = shell::processForm(ProcessFormSlot::Table))
            form->Show();
    };
    for (const tools::ToolCommand& command : tools::toolCommands())
        m_form[command.control].onClick = [this, &command] {
            tools::sendCommand(FBrowser.get(), command);
        };
    shell::bindInsertionTools(*this);
    // The remaining buttons and menu entries belong to features the bar
    // does not offer yet; they say so rather than do nothing.
    for (const auto& control : m_form.controls()) {
        forms::Kind kind = control->kind();
        bool actionable = kind == forms::Kind::Button || kind == forms::Kind::DropDownButton ||
                          kind == forms::Kind::MenuItem;
        if (!actionable || control->onClick)
            continue;
        std::string what = control->hint().empty() ? control->caption() : control->hint();
        what = what.substr(0, what.find('\r'));
        control->onClick = [what] { forms::notAvailableYet("\"" + what + "\""); };
    }
}

// ---- edit mode --------------------------------------------------------------

void TBandForm::designmodeClick() {
    if (shell::createMissingProcessForms())
        shell::linkProcessForms(this);
    if (contains(tools::locationURL(FBrowser.get()), "about:")) {
        DesignModeoff();
        deshabilitetout();
        m_form["designmode"].setDown(false);
        btnNewClick();
        return;
    }
    if (m_form["designmode"].down())
        enterEditMode();
    else
        publish();
}

void TBandForm::enterEditMode() {
    if (shell::FtpSessionForm* ftp = ftpForm()) {
        ftp->setRemoteStart("");
        ftp->setCurrentDir("/");
    }
    if (!browserPageWindow())
        return;
    m_form["Anewfileonyourserver1"].setEnabled(true);
    if (connectToSite())
        switchEditingOn();
}

bool TBandForm::connectToSite() {
    std::string location = tools::locationURL(FBrowser.get());
    if (!contains(location, "file://")) {
        if (contains(connections::text::lowerCase(location), "http://") &&
            !wizard()->connectionexiste(location)) {
            FPageUri = connections::UrlParts::parse(location);
            wizard()->siteedit().setText(connections::siteRoot(FPageUri));
            wizard()->Show();
            m_form["designmode"].setDown(false);
            return false;
        }
        Button1Click();
        FEditedPageUrl = tools::locationURL(FBrowser.get());
    }
    // A site page is edited only through an open session; the button stays
    // down until the user raises it.
    return !contains(tools::locationURL(FBrowser.get()), "http:") ||
           (ftpForm() && ftpForm()->connected());
}

void TBandForm::switchEditingOn() {
    habilitetout();
    waiting();
    m_form["designmode"].setHint("Press here to publish the document");
    tools::check(tools::currentDocument(FBrowser.get())->put_designMode("On"));
    m_form["StatusBar1"].setPanelText(0, tools::locationURL(FBrowser.get()));
    m_form["pi"].setDown(true);
    piClick();
    tools::sendCommand(FBrowser.get(), "LiveResize", false, true);
    tools::sendCommand(FBrowser.get(), "2D-Position", false, true);
    FDocument = tools::currentDocument(FBrowser.get());

    FClickSink = TBrowserClick::create();
    m_sinks.push_back(FClickSink);
    DWebBrowserEvents21->Connect(FBrowser.get());
    FClickSink->OnClick = [this](TBrowserClick&) { BrowClick(); };
    BOOL attached = FALSE;
    FDocument->attachEvent("onClick", FClickSink, &attached);
    FDocument->attachEvent("onmouseup", FClickSink, &attached);
}

void TBandForm::publish() {
    m_form["designmode"].setHint("Press here to edit the document");
    deshabilitetout();
    m_form["Anewfileonyourserver1"].setEnabled(false);
    tools::check(tools::currentDocument(FBrowser.get())->put_designMode("Off"));
    if (upload() == documents::UploadOutcome::Cancelled) {
        // The page stays as it is, edits and all, with the status saying
        // what reached the server; "Edit site" takes it up again.
        disconnectFtp();
        return;
    }
    disconnectFtp();
    if (!FRemotePageURL.empty()) {
        static std::mt19937 generator{std::random_device{}()};
        std::uniform_int_distribution<int> number(0, 9999);
        std::string address = FRemotePageURL + "?rnd=" + std::to_string(number(generator));
        tools::check(FBrowser->Navigate2(address.c_str()));
    }
    pause(500);
    waiting();
    pause(500);
    waiting();
    panelinfo(forms::kNotConnected);
}

void TBandForm::setEditButtonDown(bool down) {
    m_form["designmode"].setDown(down);
}

void TBandForm::DesignModeoff() {
    tools::check(tools::currentDocument(FBrowser.get())->put_designMode("Off"));
}

void TBandForm::showTabs(bool text, bool table, bool image) {
    tools::showPages(m_form, text, table, image);
}

void TBandForm::setToolbars(bool enabled) {
    for (const char* toolbar : forms::kBandToolbars)
        for (forms::Control* control : m_form.children(toolbar))
            control->setEnabled(enabled);
}

void TBandForm::habilitetout() {
    showTabs(true, false, false);
    m_form["designmode"].setCaption("Publish");
    setToolbars(true);
    m_form["designmode"].setEnabled(true);
    m_form["cmbFontName"].setEnabled(true);
    m_form["cmbFontSize"].setEnabled(true);
}

void TBandForm::deshabilitetout() {
    showTabs(false, false, false);
    m_form["designmode"].setCaption("Edit site");
    setToolbars(false);
    m_form["designmode"].setEnabled(true);
    m_form["cmbFontName"].setEnabled(false);
    m_form["cmbFontSize"].setEnabled(false);
    m_form["btnNew"].setEnabled(true);
    m_form["ToolButton8"].setEnabled(true);
}

void TBandForm::habilitetools() {
    tools::setInsertionTools(m_form, true);
}

void TBandForm::deshabilitetools() {
    tools::setInsertionTools(m_form, false);
}

void TBandForm::waiting() {
    // A page that never finishes loading must not hold the bar for ever:
    // after the limit the bar goes on with what the browser shows.
    bool idle = loop::pumpUntil(
        [this] {
            win::ProcessPostedMessages();
            BOOL busy = FALSE;
            tools::check(FBrowser->get_Busy(&busy));
            return !busy;
        },
        kLoadLimit);
    if (!idle)
        trace("The page was still loading after " +
              std::to_string(std::chrono::duration_cast<std::chrono::seconds>(kLoadLimit).count()) +
              " seconds");
}

void TBandForm::pause(int milliseconds) {
    loop::pumpUntil(
        [] {
            win::ProcessPostedMessages();
            return false;
        },
        std::chrono::milliseconds(milliseconds));
}

void TBandForm::panelinfo(const std::string& text) {
    m_form["StatusBar1"].setPanelText(1, text);
}

void TBandForm::disconnectFtp() {
    if (shell::FtpSessionForm* ftp = ftpForm())
        ftp->disconnect();
}

void TBandForm::Button1Click() {
    dialogs::Tformwizzard* w = wizard();
    std::string location = tools::locationURL(FBrowser.get());
    FPageUri = w->traitep(location);
    std::string key = connections::siteRoot(FPageUri);
    // The location too: a site saved with a folder is not found by its root.
    if (w->connectionexiste(key) || w->connectionexiste(location)) {
        const auto& current = connections::Tftpparameters::current();
        w->ftpserveredit().setText(current.ftpserver);
        w->ftploginedit().setText(current.ftplogin);
        w->ftppasswordedit().setText(current.ftppassword);
        w->ftpinitialfolderedit().setText(current.ftpinitialfolder);
        w->siteedit().setText(current.siteweb);
        w->finishedClick();
    } else {
        w->init();
        w->siteedit().setText(key);
        w->ftpserveredit().setText("");
        w->Show();
    }
}

void TBandForm::ToolButton8Click() {
    wizard()->Show();
}

bool TBandForm::isWorkingCopy(const std::string& url) const {
    std::string workingCopy = connections::text::lowerCase(
        "file://" + places::withTrailingSlash(places::cacheFolder()) + FTempPageName);
    return connections::text::lowerCase(connections::text::percentDecoded(url)) == workingCopy;
}

void TBandForm::DWebBrowserEvents21BeforeNavigate2(const std::string& url, const std::string& frame,
                                                   bool& cancel) {
    if (!m_form["designmode"].down() || shell::isFrameOfPage(FBrowser.get(), url, frame))
        return;
    // Leaving an edited page throws the edits away: only the user may.
    if (!isWorkingCopy(url) && shell::pageIsEdited(FBrowser.get()) && !shell::leavingConfirmed()) {
        cancel = true;
        return;
    }
    deshabilitetout();
    DesignModeoff();
}

void TBandForm::DWebBrowserEvents21DocumentComplete(const std::string& url, bool topLevel) {
    // A frame of the page that loads while it is edited changes nothing.
    if (!topLevel)
        return;
    if (isWorkingCopy(url)) {
        m_form["designmode"].setDown(true);
        designmodeClick();
        return;
    }
    m_form["designmode"].setDown(false);
    DesignModeoff();
    deshabilitetout();
    if (shell::FtpSessionForm* ftp = ftpForm()) {
        ftp->disconnect();
        ftp->quit();
    }
}

void TBandForm::PageControl1Change() {
    const std::string& page = m_form["PageControl1"].activePage();
    if (page == "pimage") {
        effaceproperties("Panel4");
    } else if (page == "ptable") {
        effaceproperties("Panel1");
        effaceproperties("Panel2");
    }
}

void TBandForm::effaceproperties(const std::string& panel) {
    tools::effaceproperties(m_form, panel);
}

// ---- formatting ---------------------------------------------------------------

// Typing into a font box may take the page's selection away (selected text
// in the box becomes the primary selection); the page keeps a copy from the
// moment the box takes the focus, and gets it back before a face or size is
// applied.
void TBandForm::keepPageSelection() {
    try {
        tools::saveSelection(FBrowser.get());
    } catch (const std::exception& e) {
        // Only the focus moved: a page that cannot answer is no reason for
        // a box, and applying will report its own failure.
        trace(std::string("The page's selection could not be kept: ") + e.what());
    }
}

void TBandForm::cmbFontNameChange() {
    tools::restoreSelection(FBrowser.get());
    tools::sendCommand(FBrowser.get(), "fontname", true, m_form["cmbFontName"].text());
}

void TBandForm::cmbFontSizeChange() {
    tools::restoreSelection(FBrowser.get());
    tools::sendCommand(FBrowser.get(), "FontSize", true, m_form["cmbFontSize"].text());
}

void TBandForm::cmdcolorChange() {
    tools::sendCommand(FBrowser.get(), "FORECOLOR", true,
                       tools::ColorToHtml(m_form["cmdcolor"].color()));
}

void TBandForm::pasteHTML(const std::string& html) {
    tools::pasteHTML(FBrowser.get(), html);
}

void TBandForm::DHTMLEditDisplayChanged() {
    tools::DHTMLEditDisplayChanged(FBrowser.get(), m_form, FSelectedElement);
}

void TBandForm::BrowClick() {
    tools::BandParts band = parts();
    tools::BrowClick(band);
}

// ---- glyphs ---------------------------------------------------------------------

void TBandForm::piClick() {
    if (m_form["pi"].down()) {
        montrerglyph();
        m_form["pi"].setHint("Hide glyphs");
    } else {
        cacherglyph();
        m_form["pi"].setHint("Show glyphs");
    }
}

void TBandForm::montrerglyph() {
    tools::montrerglyph(FBrowser.get(), [this](const std::string& line) { trace(line); });
}

void TBandForm::cacherglyph() {
    tools::cacherglyph(FBrowser.get());
}

void TBandForm::trace(const std::string& line) {
    m_form["Memo1"].appendLine(line);
}

shell::FtpSessionForm* TBandForm::ftpForm() {
    return shell::processFormAs<shell::FtpSessionForm>(ProcessFormSlot::Ftp);
}

dialogs::Tformwizzard* TBandForm::wizard() {
    auto* w = shell::processFormAs<dialogs::Tformwizzard>(ProcessFormSlot::Wizard);
    if (!w)
        throw std::runtime_error("The site wizard does not exist");
    return w;
}
