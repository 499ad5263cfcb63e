#include "dialogs/Ttestform.h"

#include "connections/TextOps.h"
#include "dialogs/DialogHost.h"
#include "dialogs/EventSinks.h"
#include "dialogs/FileFilters.h"
#include "forms/DialogDescriptions.h"
#include "platform/browser/BrowserFactory.h"
#include "platform/browser/Dom.h"
#include "platform/net/MainLoop.h"
#include "platform/places/Places.h"
#include "platform/ui/Dialogs.h"
#include "platform/window/Windows.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace dialogs {

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string location(IWebBrowser2* browser) {
    std::string url;
    if (browser)
        browser->get_LocationURL(&url);
    return url;
}

// Pumps the main loop until the browser has loaded, for ten seconds at most.
void waitForBrowser(IWebBrowser2* browser) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    BOOL busy = TRUE;
    while (SUCCEEDED(browser->get_Busy(&busy)) && busy && std::chrono::steady_clock::now() < end) {
        win::ProcessPostedMessages();
        net::processPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The gallery cell a click fell in: the clicked element or the nearest of
// its parents whose id names a picture.
bool chosenCell(const browser::Element& clicked, ChosenPicture& chosen) {
    for (browser::Element e = clicked; e; e = e.parentElement())
        if (parseCellId(e.id(), chosen))
            return true;
    return false;
}

} // namespace

Ttestform::Ttestform() : WindowedForm(forms::linksAndImagesDescription()) {
    form()["PageControl1"].setActivePage("TabSheet1");
    form()["targetcombo"].setText("default");
    bindHandlers();
    showNavigationButtons();
}

Ttestform::~Ttestform() {
    if (m_links && m_linkCookie)
        m_links->Unadvise(m_linkCookie);
    if (m_gallery && m_galleryCookie)
        m_gallery->Unadvise(m_galleryCookie);
}

void Ttestform::bindHandlers() {
    forms::Form& f = form();
    f["BitBtn3"].onClick = [this] { goTyped(); };
    f["RefreshBtn"].onClick = [this] { goTyped(); };
    f["URLs"].onChange = [this] { goTyped(); };
    f["BackBtn"].onClick = [this] { BackBtnClick(); };
    f["ForwardBtn"].onClick = [this] { ForwardBtnClick(); };
    f["StopBtn"].onClick = [this] { StopBtnClick(); };
    f["BitBtn1"].onClick = [this] { BitBtn1Click(); };
    f["SpeedButton1"].onClick = [this] { SpeedButton1Click(); };
    f["ToolButton1"].onClick = [this] { ToolButton1Click(); };
}

std::string Ttestform::galleryFile() {
    return places::withTrailingSlash(places::dataFolder()) + "tab.htm";
}

// The browsers are made on the first showing: a dialog never opened costs
// no web view.
void Ttestform::beforeWindow() {
    browser::BrowserFactory* factory = browser::browserFactory();
    if (!factory)
        return;
    browser::EmbeddedBrowser links = factory->create();
    browser::EmbeddedBrowser gallery = factory->create();
    m_links = links.browser;
    m_gallery = gallery.browser;
    form()["WebBrowser1"].setNativeView(links.widget);
    form()["IE"].setNativeView(gallery.widget);

    m_linkEvents = ComPtr<NavigationSink>(new NavigationSink);
    m_linkEvents->beforeNavigate = [this](const std::string& url, bool top) {
        if (top)
            WebBrowser1BeforeNavigate2(url);
    };
    m_linkEvents->documentComplete = [this](const std::string& url, bool top) {
        if (top)
            WebBrowser1DocumentComplete(url);
    };
    m_linkEvents->progressChange = [this](long p, long max) { WebBrowser1ProgressChange(p, max); };
    m_linkEvents->newWindow = [](const std::string&) { return true; };
    m_links->Advise(m_linkEvents.get(), &m_linkCookie);

    m_galleryEvents = ComPtr<NavigationSink>(new NavigationSink);
    m_galleryEvents->beforeNavigate = [this](const std::string&, bool top) {
        if (top)
            IEBeforeNavigate2();
    };
    m_galleryEvents->documentComplete = [this](const std::string& url, bool top) {
        if (top)
            IEDocumentComplete(url);
    };
    m_galleryEvents->newWindow = [](const std::string&) { return true; };
    m_galleryEvents->navigateError = [](const std::string&) { return true; };
    m_gallery->Advise(m_galleryEvents.get(), &m_galleryCookie);
}

void Ttestform::Show() {
    ensureWindow();
    FormObject::Show();
    FormShow();
}

void Ttestform::showMode(bool forImage) {
    forms::Form& f = form();
    f["CoolBar5"].setVisible(!forImage);
    f["TabSheet2"].setVisible(!forImage);
    f["TabSheet3"].setVisible(forImage);
    if (!f[f["PageControl1"].activePage()].visible())
        f["PageControl1"].setActivePage("TabSheet1");
}

void Ttestform::FormShow() {
    try {
        showMode(FBandForm && FBandForm->galleryForImage());
        if (takeEmailLocation() || !m_links || !FBandForm)
            return;
        if (location(m_links.get()).empty() && !FBandForm->remotePageURL().empty())
            m_links->Navigate(FBandForm->remotePageURL().c_str());
        std::string shown = location(m_gallery.get());
        if (!shown.empty())
            m_gallery->Navigate(shown.c_str());
        else if (!FBandForm->editedPageUrl().empty())
            m_gallery->Navigate(FBandForm->editedPageUrl().c_str());
        if (FBandForm->linkSelected())
            m_links->Navigate(form()["URLs"].text().c_str());
    } catch (const std::exception&) {
    }
}

// A mailto: location of the link browser fills the e-mail page.
bool Ttestform::takeEmailLocation() {
    std::string url = location(m_links.get());
    if (!contains(connections::text::lowerCase(url), "mailto:"))
        return false;
    forms::Form& f = form();
    f["URLs"].setText("");
    // The engine reports the location percent-encoded ("Boat%20trip").
    std::string rest = connections::text::percentDecoded(url.size() > 7 ? url.substr(7) : "");
    size_t subject = rest.find("?subject=");
    f["email"].setText(rest.substr(0, subject));
    f["subject"].setText(subject == std::string::npos ? "" : rest.substr(subject + 9));
    f["PageControl1"].setActivePage("TabSheet2");
    return true;
}

void Ttestform::goTyped() {
    if (!m_links)
        return;
    FTypedAddress = true;
    forms::Control& urls = form()["URLs"];
    // An address with a scheme of its own ("https://", "file://") is taken
    // as it is.
    if (!contains(connections::text::lowerCase(urls.text()), "://"))
        urls.setText("http://" + urls.text());
    m_links->Navigate(urls.text().c_str());
}

void Ttestform::BackBtnClick() {
    std::string previous = m_history.previous();
    if (previous.empty())
        return;
    form()["URLs"].setText(previous);
    goTyped();
}

void Ttestform::ForwardBtnClick() {
    std::string next = m_history.next();
    if (next.empty())
        return;
    form()["URLs"].setText(next);
    goTyped();
}

void Ttestform::StopBtnClick() {
    if (m_links)
        m_links->Stop();
}

void Ttestform::showNavigationButtons() {
    form()["BackBtn"].setEnabled(!m_history.previous().empty());
    form()["ForwardBtn"].setEnabled(!m_history.next().empty());
}

void Ttestform::WebBrowser1BeforeNavigate2(const std::string& url) {
    m_history.visit(url);
    forms::Control& urls = form()["URLs"];
    if (FTypedAddress) {
        FTypedAddress = false;
        std::vector<std::string> items = urls.items();
        int found = urls.indexOfItem(url);
        if (found >= 0)
            items.erase(items.begin() + found);
        items.insert(items.begin(), url);
        urls.setItems(items);
    }
    urls.setText(url);
    form()["StatusBar1"].setPanelText(1, url);
    showNavigationButtons();
}

void Ttestform::WebBrowser1DocumentComplete(const std::string& url) {
    try {
        browser::Document document = browser::Browser(m_links).document();
        form().setCaption("Web browser:" + document.title());
    } catch (const std::exception&) {
    }
    if (FBandForm && FBandForm->galleryForImage() && !url.empty() && url != "about:blank") {
        m_gallery->Navigate(url.c_str());
        form()["PageControl1"].setActivePage("TabSheet3");
    }
}

void Ttestform::WebBrowser1ProgressChange(long progress, long progressMax) {
    if (progressMax > 0 && progress <= 20000)
        form()["StatusBar1"].setPanelText(0, std::to_string(progress * 100 / progressMax) + "%");
}

void Ttestform::IEBeforeNavigate2() {
    form()["Panel1"].setVisible(true);
}

void Ttestform::IEDocumentComplete(const std::string& url) {
    form()["Panel1"].setVisible(false);
    browser::Document document = browser::Browser(m_gallery).document();
    ComPtr<DocumentClickSink> sink(new DocumentClickSink);
    sink->onInvoke = [this] { pictureChosen(); };
    document.setEventProperty("onclick", sink.get());
    document.setEventProperty("onmouseup", sink.get());
    if (contains(connections::text::lowerCase(url), "ttp://"))
        buildGallery(url);
}

void Ttestform::buildGallery(const std::string& url) {
    try {
        m_pictures = collectPictures(browser::Browser(m_gallery).document());
        std::ofstream file(galleryFile(), std::ios::binary | std::ios::trunc);
        file << galleryPage(url, m_pictures);
        file.close();
        if (!file)
            return;
        m_gallery->Navigate(fileAddress(galleryFile()).c_str());
        waitForBrowser(m_gallery.get());
    } catch (const std::exception&) {
    }
}

// Both the mouse-up and the click of one press reach the sink; the choice
// is made once, on the click.
void Ttestform::pictureChosen() {
    if (!FBandForm || !m_gallery)
        return;
    browser::Document document = browser::Browser(m_gallery).document();
    browser::EventObject event = document.parentWindowEvent();
    if (!event.isNull() && connections::text::lowerCase(event.type()) == "mouseup")
        return;
    ChosenPicture chosen;
    browser::Element clicked = event.isNull() ? document.activeElement() : event.srcElement();
    if (!chosenCell(clicked, chosen))
        return;
    FBandForm->setChosenSize(chosen.width, chosen.height);
    FBandForm->insertPicture(FBandForm->imageTarget(), chosen.src);
    Hide();
}

void Ttestform::BitBtn1Click() {
    if (!FBandForm)
        return;
    FBandForm->makeLink(form()["URLs"].text());
    Hide();
}

void Ttestform::SpeedButton1Click() {
    if (!FBandForm)
        return;
    FBandForm->makeEmailLink(form()["email"].text(), form()["subject"].text());
    Hide();
}

void Ttestform::ToolButton1Click() {
    try {
        ui::FileDialogRequest request;
        request.title = "Add document";
        request.filters = parseFilter(forms::kDocumentFilter);
        std::optional<std::string> chosen = ui::dialogs().openFile(request);
        std::error_code error;
        if (!chosen || chosen->empty() || !std::filesystem::exists(*chosen, error) || !FBandForm)
            return;
        FBandForm->makeLink(fileAddress(*chosen));
        Hide();
    } catch (const std::exception&) {
    }
}

} // namespace dialogs
