#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/types.h>

// A web site on loopback as a user has one: a folder served over HTTP by
// Python's http.server and, as the root of an FTP account with a login and
// a password, by pyftpdlib (Debian's python3-pyftpdlib), each on a free
// port. Both run as the current user, started by the constructor and
// stopped by the destructor. The site starts empty: write its pages with
// write() before the first request.
class LocalSite {
public:
    static constexpr const char* kLogin = "webmaster";
    static constexpr const char* kPassword = "s3cret=;pass";

    LocalSite();
    ~LocalSite();
    LocalSite(const LocalSite&) = delete;
    LocalSite& operator=(const LocalSite&) = delete;

    // Empty when both servers run; otherwise why not.
    const std::string& unavailable() const { return m_unavailable; }
    const std::filesystem::path& folder() const { return m_folder; }
    uint16_t httpPort() const { return m_httpPort; }
    uint16_t ftpPort() const { return m_ftpPort; }
    // "http://127.0.0.1:PORT" followed by path (which starts with "/").
    std::string url(const std::string& path = "/") const;
    // "127.0.0.1:PORT", as a user types the FTP server off port 21.
    std::string ftpServer() const;

    // The FTP server's log, with every command it was sent ("<- STOR ...").
    std::filesystem::path ftpLog() const { return m_folder.string() + ".ftp.log"; }

    void write(const std::string& relative, const std::string& bytes) const;
    // A small PNG picture of one color, in bytes.
    static std::string picture();

private:
    pid_t start(const char* const argv[], uint16_t port, const std::string& log = "/dev/null");

    std::filesystem::path m_folder;
    std::string m_unavailable;
    uint16_t m_httpPort = 0;
    uint16_t m_ftpPort = 0;
    pid_t m_http = -1;
    pid_t m_ftp = -1;
};
