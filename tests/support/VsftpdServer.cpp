#include "support/VsftpdServer.h"

#include "publishing/ftp/Loopback.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr const char* kProgram = "/usr/sbin/vsftpd";

} // namespace

VsftpdServer::VsftpdServer() {
    if (::access(kProgram, X_OK) != 0) {
        m_unavailable = "vsftpd is not installed";
        return;
    }
    m_chrooted = ::geteuid() == 0;
    // Root's vsftpd serves anonymous users as the "ftp" user of its package.
    const passwd* ftpUser = m_chrooted ? ::getpwnam("ftp") : nullptr;
    if (m_chrooted && !ftpUser) {
        m_unavailable = "the ftp user that vsftpd's package creates is missing";
        return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrisk-vsftpd-XXXXXX");
    m_folder = ::mkdtemp(pattern.data());
    m_root = m_folder / "root";
    std::filesystem::create_directories(site());
    std::filesystem::create_directories(m_folder / "empty");
    std::filesystem::permissions(m_folder, std::filesystem::perms(0755));
    if (ftpUser) {
        [[maybe_unused]] int rc = ::chown(site().c_str(), ftpUser->pw_uid, ftpUser->pw_gid);
    }
    if (!start())
        m_unavailable = "vsftpd did not start";
}

bool VsftpdServer::start() {
    m_port = loopback::freePort();
    auto config = m_folder / "vsftpd.conf";
    std::ofstream(config) << "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\n"
                          << "listen_port=" << m_port << "\n"
                          << "background=NO\nanonymous_enable=YES\nlocal_enable=NO\n"
                          << "no_anon_password=YES\nanon_root=" << m_root.string() << "\n"
                          << "write_enable=YES\nanon_upload_enable=YES\n"
                          << "anon_other_write_enable=YES\nanon_umask=022\n"
                          << "allow_writeable_chroot=YES\nsecure_chroot_dir="
                          << (m_folder / "empty").string() << "\n"
                          << "seccomp_sandbox=NO\nisolate=NO\nisolate_network=NO\n"
                          << "connect_from_port_20=NO\nxferlog_enable=NO\n"
                          << "dirmessage_enable=NO\nmax_per_ip=0\nmax_clients=0\n"
                          << (m_chrooted ? "" : "run_as_launching_user=YES\n");
    // A process group of its own, so that its session processes go with it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::string configText = config.string();
    char* argv[] = {const_cast<char*>(kProgram), configText.data(), nullptr};
    int rc = posix_spawn(&m_pid, kProgram, nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
        m_pid = -1;
        return false;
    }
    for (int i = 0; i < 100; ++i) {
        if (accepting())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool VsftpdServer::accepting() const {
    int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa = loopback::address(m_port);
    bool ok = ::connect(probe, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    ::close(probe);
    return ok;
}

VsftpdServer::~VsftpdServer() {
    if (m_pid > 0) {
        ::kill(-m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    std::error_code ignored;
    if (!m_folder.empty())
        std::filesystem::remove_all(m_folder, ignored);
}

std::string VsftpdServer::clientPath(const std::string& relative) const {
    std::string top = m_chrooted ? "" : m_root.string();
    if (relative.empty())
        return top.empty() ? "/" : top;
    return top + "/" + relative;
}
