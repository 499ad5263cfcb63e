#pragma once

#include "connections/ConnectionStore.h"
#include "connections/UrlParts.h"
#include "forms/FormObject.h"
#include "publishing/ftp/BandFormAccess.h"

#include <string>

namespace dialogs {

// The site wizard as far as the edit-mode switch uses it: its pages and
// fields, the saved connections (restored when the wizard is created, saved
// when it goes), the lookup of a connection for a page and its failure
// exit. It is not shown yet, and the connection test is not built yet:
// showing it or finishing it says so.
class Tformwizzard : public forms::FormObject, public ftp::ErrorRoutine {
public:
    Tformwizzard();
    ~Tformwizzard() override;

    // Finds the first saved site whose address occurs in address followed
    // by "/" (letter case ignored) and makes it the connection in use.
    bool connectionexiste(const std::string& address);
    connections::UrlParts traitep(const std::string& location) const {
        return connections::traitep(location);
    }
    void finishedClick();
    // Back to the first page of "New connection", before fields are preset.
    void init();
    // Ends edit mode, closes the FTP session and shows the message.
    void error(const std::string& message) override;
    void Show() override;

    forms::Control& siteedit() { return form()["siteedit"]; }
    forms::Control& ftpserveredit() { return form()["ftpserveredit"]; }
    forms::Control& ftploginedit() { return form()["ftploginedit"]; }
    forms::Control& ftppasswordedit() { return form()["ftppasswordedit"]; }
    forms::Control& ftpinitialfolderedit() { return form()["ftpinitialfolderedit"]; }

    connections::ConnectionStore& store() { return m_store; }

    forms::BandFormLink* FBandForm = nullptr;

private:
    connections::ConnectionStore m_store;
};

} // namespace dialogs
