#pragma once

#include "connections/UrlParts.h"
#include "forms/FormObject.h"

struct IWebBrowser2;

namespace dialogs {

// What the site wizard reaches of the band form, which sits above it and
// implements this: the edit-mode operations, the browser, and the current
// document address FPageUri.
class WizardBand : public forms::BandFormLink {
public:
    virtual IWebBrowser2* browser() = 0;
    virtual const connections::UrlParts& pageUri() const = 0;
    virtual void setPageUri(const connections::UrlParts& address) = 0;

protected:
    ~WizardBand() = default;
};

} // namespace dialogs
