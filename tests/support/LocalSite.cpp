#include "support/LocalSite.h"

#include "support/Files.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* kPython = "/usr/bin/python3";

sockaddr_in loopback(uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sa.sin_port = htons(port);
    return sa;
}

// A port nobody listens on now; the server binds it right after.
uint16_t freePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa = loopback(0);
    socklen_t length = sizeof sa;
    ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &length);
    ::close(fd);
    return ntohs(sa.sin_port);
}

bool accepting(uint16_t port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa = loopback(port);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    ::close(fd);
    return ok;
}

void stop(pid_t pid) {
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

} // namespace

LocalSite::LocalSite() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrisk-site-XXXXXX").string();
    m_folder = mkdtemp(pattern.data());
    if (::access(kPython, X_OK) != 0) {
        m_unavailable = "no /usr/bin/python3";
        return;
    }
    m_httpPort = freePort();
    std::string http = std::to_string(m_httpPort);
    std::string folder = m_folder.string();
    const char* httpArgs[] = {kPython,      "-m",          "http.server",  "--bind", "127.0.0.1",
                              http.c_str(), "--directory", folder.c_str(), nullptr};
    m_http = start(httpArgs, m_httpPort);
    m_ftpPort = freePort();
    std::string ftp = std::to_string(m_ftpPort);
    const char* ftpArgs[] = {kPython,     "-m", "pyftpdlib",    "-i",   "127.0.0.1", "-p",
                             ftp.c_str(), "-d", folder.c_str(), "-u",   kLogin,      "-P",
                             kPassword,   "-w", "-D",           nullptr};
    m_ftp = start(ftpArgs, m_ftpPort, ftpLog().string());
}

LocalSite::~LocalSite() {
    stop(m_http);
    stop(m_ftp);
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
    std::filesystem::remove(ftpLog(), ignored);
}

pid_t LocalSite::start(const char* const argv[], uint16_t port, const std::string& log) {
    pid_t pid = ::fork();
    if (pid == 0) {
        int quiet = ::open("/dev/null", O_WRONLY);
        int logged = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(logged >= 0 ? logged : quiet, STDERR_FILENO);
        ::execv(argv[0], const_cast<char* const*>(argv));
        ::_exit(127);
    }
    // Python starts slowly on a busy machine.
    for (int i = 0; i < 1500; ++i) {
        if (accepting(port))
            return pid;
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            m_unavailable = std::string(argv[2]) + " did not start (is it installed?)";
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_unavailable = std::string(argv[2]) + " did not listen on its port";
    return pid;
}

std::string LocalSite::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_httpPort) + path;
}

std::string LocalSite::ftpServer() const {
    return "127.0.0.1:" + std::to_string(m_ftpPort);
}

void LocalSite::write(const std::string& relative, const std::string& bytes) const {
    testfiles::writeFile(m_folder / relative, bytes);
}

std::string LocalSite::picture() {
    // An 8 x 8 red PNG.
    static const unsigned char png[] = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
        0x52, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x08, 0x08, 0x02, 0x00, 0x00, 0x00, 0x4b,
        0x6d, 0x29, 0xdc, 0x00, 0x00, 0x00, 0x11, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xf8,
        0xcf, 0xc0, 0x80, 0x15, 0x31, 0x0c, 0x2d, 0x09, 0x00, 0x28, 0xff, 0x3f, 0xc1, 0xce, 0x77,
        0xc8, 0x4f, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(png), sizeof png);
}
