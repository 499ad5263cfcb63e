#pragma once

// TCP sockets on 127.0.0.1 for the FTP tests, each on a port the system
// chose.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace loopback {

inline sockaddr_in address(uint16_t port = 0) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sa.sin_port = htons(port);
    return sa;
}

// A socket bound to a port of its own; answers the socket and sets port.
inline int bind(uint16_t& port, int flags = 0) {
    int fd = ::socket(AF_INET, SOCK_STREAM | flags, 0);
    sockaddr_in sa = address();
    ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    socklen_t length = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &length);
    port = ntohs(sa.sin_port);
    return fd;
}

// The same, listening with the backlog given.
inline int listen(int backlog, uint16_t& port, int flags = 0) {
    int fd = bind(port, flags);
    ::listen(fd, backlog);
    return fd;
}

// A port that nothing listens on now.
inline uint16_t freePort() {
    uint16_t port = 0;
    ::close(bind(port));
    return port;
}

} // namespace loopback
