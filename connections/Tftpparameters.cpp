#include "Tftpparameters.h"

namespace connections {

Tftpparameters& Tftpparameters::current() {
    static Tftpparameters record;
    return record;
}

void Tftpparameters::assign(const SiteConnection& connection) {
    ftplogin = connection.ftplogin;
    ftppassword = connection.ftppassword;
    ftpserver = connection.ftpserver;
    ftpinitialfolder = connection.ftpinitialfolder;
    siteweb = connection.siteweb;
}

SiteConnection Tftpparameters::connection() const {
    return {siteweb, ftpserver, ftplogin, ftppassword, ftpinitialfolder};
}

} // namespace connections
