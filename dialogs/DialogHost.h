#pragma once

#include "forms/FormDescription.h"
#include "platform/browser/WebBrowser.h"

#include <cstdint>
#include <string>

namespace dialogs {

// What the page properties and the links and images dialogs reach of the
// band form that created them.
class DialogHost {
public:
    // The browser that shows the edited page.
    virtual IWebBrowser2* pageBrowser() = 0;

    // The chooser's mode: a picture (true) or a link's address (false), and
    // the insertion mode a picked picture is handed back with.
    virtual bool galleryForImage() const = 0;
    virtual void setGalleryForImage(bool forImage) = 0;
    virtual uint8_t imageTarget() const = 0;
    virtual void setImageTarget(uint8_t mode) = 0;
    // The size of the picture picked, set just before it is handed back.
    virtual void setChosenSize(const std::string& width, const std::string& height) = 0;

    // The site address of the page being edited, and the last edited page
    // that is not a local file.
    virtual std::string remotePageURL() const = 0;
    virtual std::string editedPageUrl() const = 0;
    // Whether the last click in the page fell in a link (whose address the
    // click put into the link dialog's address box).
    virtual bool linkSelected() const = 0;

    // Places a picture as the mode says; makes a link of the selection, to
    // an address or to an e-mail address with a subject.
    virtual void insertPicture(uint8_t mode, const std::string& location) = 0;
    virtual void makeLink(const std::string& address) = 0;
    virtual void makeEmailLink(const std::string& address, const std::string& subject) = 0;

    // The band form's color conversions.
    virtual std::string colorToHtml(forms::ColorValue color) = 0;
    virtual bool htmlToColor(const std::string& text, forms::ColorValue& color) = 0;

    // Shows the links and images dialog, modeless.
    virtual void showLinksAndImages() = 0;

protected:
    ~DialogHost() = default;
};

} // namespace dialogs
