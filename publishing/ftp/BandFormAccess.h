#pragma once

#include "connections/UrlParts.h"

#include <string>

struct IWebBrowser2;

namespace ftp {

// What the FTP session form reaches of the band form, which sits above it
// and implements this.
class BandFormAccess {
public:
    virtual ~BandFormAccess() = default;

    // Panel 1 of the band form's status bar.
    virtual void setBandStatus(const std::string& text) = 0;
    // A line of the band form's hidden trace memo.
    virtual void trace(const std::string& line) = 0;
    virtual IWebBrowser2* browser() = 0;
    // FPageUri: the current page address as parts.
    virtual const connections::UrlParts& pageUri() const = 0;
    // FTempPageName: the working copy's file name.
    virtual std::string tempPageName() const = 0;
    virtual void setTempPageName(const std::string& name) = 0;
    // FRemotePageURL: the web address of the page being edited.
    virtual std::string remotePageURL() const = 0;
    virtual void setRemotePageURL(const std::string& url) = 0;
};

// The site wizard's failure exit, which the wizard implements: it ends edit
// mode, disconnects the FTP session and shows the message in a box titled
// "Warning".
class ErrorRoutine {
public:
    virtual ~ErrorRoutine() = default;
    virtual void error(const std::string& message) = 0;
    // True once the user has called off the run that drives the session:
    // the failures that follow are expected and not reported in boxes.
    virtual bool calledOff() const { return false; }
};

} // namespace ftp
