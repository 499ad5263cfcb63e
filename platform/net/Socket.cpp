#include "Socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace net {

void throwSystemError(int error) {
    throw SocketError(std::strerror(error));
}

namespace {

void makeNonBlocking(int fd) {
    int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)
        throwSystemError(errno);
}

sockaddr_in toSockaddr(uint32_t address, uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address);
    sa.sin_port = htons(port);
    return sa;
}

} // namespace

bool isIpv4Address(const std::string& host) {
    in_addr parsed{};
    return inet_pton(AF_INET, host.c_str(), &parsed) == 1;
}

uint32_t resolveIpv4(const std::string& host) {
    in_addr parsed{};
    if (inet_pton(AF_INET, host.c_str(), &parsed) == 1)
        return ntohl(parsed.s_addr);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (rc != 0 || !found) {
        std::string text = rc == EAI_SYSTEM ? std::strerror(errno) : gai_strerror(rc);
        throw SocketError(text);
    }
    uint32_t address = ntohl(reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(found);
    return address;
}

std::string ipv4Text(uint32_t address) {
    in_addr a{htonl(address)};
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

Socket::Socket(int fd) : m_fd(fd) {
    if (m_fd >= 0)
        makeNonBlocking(m_fd);
}

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

int Socket::release() {
    int fd = m_fd;
    m_fd = -1;
    return fd;
}

void Socket::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void Socket::shutdown() {
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_RDWR);
}

void Socket::shutdownSend() {
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_WR);
}

Socket Socket::listenOn(uint32_t address, uint16_t port, int backlog) {
    Socket s(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!s.valid())
        throwSystemError(errno);
    sockaddr_in sa = toSockaddr(address, port);
    if (::bind(s.fd(), reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0 ||
        ::listen(s.fd(), backlog) < 0)
        throwSystemError(errno);
    return s;
}

Endpoint Socket::localEndpoint() const {
    sockaddr_in sa{};
    socklen_t length = sizeof sa;
    if (getsockname(m_fd, reinterpret_cast<sockaddr*>(&sa), &length) < 0)
        throwSystemError(errno);
    return {ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port)};
}

Endpoint Socket::peerEndpoint() const {
    sockaddr_in sa{};
    socklen_t length = sizeof sa;
    if (getpeername(m_fd, reinterpret_cast<sockaddr*>(&sa), &length) < 0)
        throwSystemError(errno);
    return {ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port)};
}

Socket Socket::acceptPending() {
    int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED)
            return Socket();
        throwSystemError(errno);
    }
    return Socket(fd);
}

namespace {

// Runs one non-blocking socket call, retrying when a signal interrupted it.
// Answers -1 when the call would block; other failures raise.
template <typename Call> ssize_t retryingNonBlocking(Call call) {
    for (;;) {
        ssize_t n = call();
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return -1;
        throwSystemError(errno);
    }
}

} // namespace

ssize_t Socket::receiveSome(char* buffer, size_t size) {
    return retryingNonBlocking([&] { return ::recv(m_fd, buffer, size, 0); });
}

ssize_t Socket::sendSome(const char* data, size_t size) {
    return retryingNonBlocking([&] { return ::send(m_fd, data, size, MSG_NOSIGNAL); });
}

} // namespace net
