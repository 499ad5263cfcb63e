#pragma once

#include "connections/SiteConnection.h"

#include <string>

namespace connections {

// The connection in use: one record for the whole process, empty at load.
// The lookup and the wizard fill it; the band form reads it.
struct Tftpparameters {
    std::string ftpserver;
    std::string ftplogin;
    std::string ftppassword;
    std::string ftpinitialfolder;
    std::string siteweb;

    static Tftpparameters& current();

    void assign(const SiteConnection& connection);
    SiteConnection connection() const;
};

} // namespace connections
