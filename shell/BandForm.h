#pragma once

#include "connections/UrlParts.h"
#include "forms/FormObject.h"
#include "platform/browser/HtmlDocument.h"
#include "platform/browser/WebBrowser.h"
#include "platform/com/Unknown.h"
#include "platform/window/Windows.h"
#include "publishing/ftp/BandFormAccess.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TBrowserClick;
class TDWebBrowserEvents2;

namespace dialogs {
class Tformwizzard;
}
namespace shell {
class FtpSessionForm;
}
namespace forms::gtkview {
class FormView;
}
namespace tools {
struct BandParts;
class PictureDialog;
} // namespace tools

// The bar's window and the owner of all editing state. It is created
// borderless as a child of the host's bar area and reaches the page through
// the browser the band hands it, asking it for the document at every use.
class TBandForm : public forms::BandFormLink, public ftp::BandFormAccess {
public:
    explicit TBandForm(HWND parent);
    virtual ~TBandForm();
    TBandForm(const TBandForm&) = delete;
    TBandForm& operator=(const TBandForm&) = delete;

    // The client size the form is designed with.
    static win::Size designSize() { return {1016, 197}; }

    HWND Handle() const { return m_handle; }
    void setBrowser(ComPtr<IWebBrowser2> browser);

    // The controls, by name.
    forms::Form& form() { return m_form; }
    forms::Control& operator[](const std::string& name) { return m_form[name]; }
    // The widgets that show the controls; null without a display.
    forms::gtkview::FormView* view() const { return m_view.get(); }

    // State shared with the editing tools and the secondary forms.
    ComPtr<IWebBrowser2> FBrowser;
    ComPtr<IHTMLDocument2> FDocument;
    TBrowserClick* FClickSink = nullptr;
    ComPtr<IUnknown> FClickRange;
    ComPtr<IHTMLElement> FSelectedElement;
    bool FGalleryForImage = false;
    uint8_t FImageTarget = 0;
    std::string FChosenWidth;
    std::string FChosenHeight;
    connections::UrlParts FPageUri;
    std::string FEditedPageUrl;
    std::string FTempPageName;
    std::string FRemotePageURL;
    std::vector<std::string> FUploadNames;
    std::vector<std::string> FUploadFiles;
    // The Windows-folder counterpart, with a trailing "/".
    std::string FWindowsFolder;
    ComPtr<TDWebBrowserEvents2> DWebBrowserEvents21;

    // The edit-mode switch and the tool sets.
    void designmodeClick() override;
    void setEditButtonDown(bool down) override;
    void DesignModeoff() override;
    void habilitetout();
    void deshabilitetout() override;
    void habilitetools();
    void deshabilitetools();
    void waiting() override;
    void panelinfo(const std::string& text) override;
    void disconnectFtp() override;
    void Button1Click();
    void ToolButton8Click();
    void DWebBrowserEvents21BeforeNavigate2(const std::string& url);
    void DWebBrowserEvents21DocumentComplete(const std::string& url);
    void PageControl1Change();
    // Empties every edit and combo box placed directly on the panel.
    void effaceproperties(const std::string& panel);
    // Whether a navigation address is the local working copy of a site page.
    bool isWorkingCopy(const std::string& url) const;

    // Formatting.
    void cmbFontNameChange();
    void cmbFontSizeChange();
    void keepPageSelection();
    void cmdcolorChange();
    void pasteHTML(const std::string& html);
    void DHTMLEditDisplayChanged();
    // The click dispatcher: link status, insertion tools and the property
    // page of what was clicked.
    void BrowClick();

    // Property panels, pictures and links.
    void tableproperties();
    void imageproperties();
    void TWidthExit();
    void isrcExit();
    void insererimage(int mode, const std::string& location) override;
    void creerlien(const std::string& address) override;
    void Removelink1Click();

    // Glyphs.
    void piClick();
    void montrerglyph();
    void cacherglyph();

    // Operations of features that the bar does not offer yet.
    void upload();
    void btnNewClick();

    void trace(const std::string& line) override;

    // What the FTP session form reaches of this form.
    void setBandStatus(const std::string& text) override { panelinfo(text); }
    IWebBrowser2* browser() override { return FBrowser.get(); }
    const connections::UrlParts& pageUri() const override { return FPageUri; }
    std::string tempPageName() const override { return FTempPageName; }
    void setTempPageName(const std::string& name) override { FTempPageName = name; }
    std::string remotePageURL() const override { return FRemotePageURL; }
    void setRemotePageURL(const std::string& url) override { FRemotePageURL = url; }

    // The secondary forms this band form works with (null when missing).
    static shell::FtpSessionForm* ftpForm();
    static dialogs::Tformwizzard* wizard();

private:
    void FormCreate();
    void FormDestroy();
    void bindHandlers();
    void bindPanelHandlers();
    // Shows the links and images dialog, to pick a picture for the mode or
    // (with no mode) to make a link.
    void showLinksDialog(bool forImage, uint8_t mode, const char* page);
    tools::BandParts parts();
    void setToolbars(bool enabled);
    void showTabs(bool text, bool table, bool image);
    void enterEditMode();
    // Makes sure a site page has its connection; false ends the switch.
    bool connectToSite();
    void switchEditingOn();
    void publish();
    void pause(int milliseconds);

    HWND m_handle = nullptr;
    forms::Form m_form;
    std::vector<TBrowserClick*> m_sinks;
    std::unique_ptr<forms::gtkview::FormView> m_view;
    std::unique_ptr<tools::PictureDialog> m_pictureDialog;
};
