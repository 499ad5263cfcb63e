#pragma once

#include "dialogs/Gallery.h"
#include "dialogs/LinkHistory.h"
#include "dialogs/WindowedForm.h"
#include "platform/browser/WebBrowser.h"

#include <string>
#include <vector>

namespace dialogs {

class DialogHost;
class NavigationSink;

// The links and images dialog. "Link insert" browses to the page a link
// shall point to, "EMail insert" writes a mailto: link, and "Image insert"
// shows the pictures of the browsed page as a gallery: a click on one hands
// it to the band form's image insertion. Its two browsers are made when it
// is first shown.
class Ttestform : public WindowedForm {
public:
    Ttestform();
    ~Ttestform() override;
    // Shows the dialog modeless, in image or link mode as the band form
    // says.
    void Show() override;

    DialogHost* FBandForm = nullptr;

    // The browsers; null before the first showing or without a browser
    // factory.
    IWebBrowser2* WebBrowser1() const { return m_links.get(); }
    IWebBrowser2* IE() const { return m_gallery.get(); }
    const LinkHistory& history() const { return m_history; }
    const std::vector<GalleryPicture>& pictures() const { return m_pictures; }
    // Where the gallery page is written.
    static std::string galleryFile();

    void FormShow();
    void goTyped();
    void BackBtnClick();
    void ForwardBtnClick();
    void StopBtnClick();
    void BitBtn1Click();
    void SpeedButton1Click();
    void ToolButton1Click();
    void WebBrowser1BeforeNavigate2(const std::string& url);
    void WebBrowser1DocumentComplete(const std::string& url);
    void WebBrowser1ProgressChange(long progress, long progressMax);
    void IEBeforeNavigate2();
    void IEDocumentComplete(const std::string& url);
    // The gallery's click sink: the picture clicked goes to the band form.
    void pictureChosen();

protected:
    void beforeWindow() override;

private:
    void bindHandlers();
    void showMode(bool forImage);
    void showNavigationButtons();
    bool takeEmailLocation();
    void buildGallery(const std::string& url);

    ComPtr<IWebBrowser2> m_links;
    ComPtr<IWebBrowser2> m_gallery;
    ComPtr<NavigationSink> m_linkEvents;
    ComPtr<NavigationSink> m_galleryEvents;
    DWORD m_linkCookie = 0;
    DWORD m_galleryCookie = 0;
    LinkHistory m_history;
    bool FTypedAddress = false;
    std::vector<GalleryPicture> m_pictures;
};

} // namespace dialogs
