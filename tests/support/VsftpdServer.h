#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/types.h>

// A real FTP server (Debian's vsftpd) on 127.0.0.1, serving a fresh
// temporary folder to anonymous users who may upload into its "site"
// subfolder. Started by the constructor, stopped by the destructor. Run by
// root it shuts anonymous users into that folder, which is then "/" for
// them; run by another user it cannot, and they see the real paths.
class VsftpdServer {
public:
    VsftpdServer();
    ~VsftpdServer();
    VsftpdServer(const VsftpdServer&) = delete;
    VsftpdServer& operator=(const VsftpdServer&) = delete;

    // Empty when the server could run; otherwise why not.
    const std::string& unavailable() const { return m_unavailable; }
    uint16_t port() const { return m_port; }
    // The served folder ("/" for the client).
    const std::filesystem::path& root() const { return m_root; }
    // The folder that takes uploads ("/site" for the client).
    std::filesystem::path site() const { return m_root / "site"; }
    // A folder below the served one as the client names it; "" for the
    // served folder itself, where a client starts.
    std::string clientPath(const std::string& relative) const;

private:
    bool start();
    bool accepting() const;

    std::filesystem::path m_folder;
    std::filesystem::path m_root;
    std::string m_unavailable;
    uint16_t m_port = 0;
    pid_t m_pid = -1;
    bool m_chrooted = false;
};
