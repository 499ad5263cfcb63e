#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <sys/types.h>

namespace net {

// A socket failure; the text is the system's message ("Connection refused").
class SocketError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws SocketError with the system's message for an errno value.
[[noreturn]] void throwSystemError(int error);

// An IPv4 address (host byte order) and port.
struct Endpoint {
    uint32_t address = 0;
    uint16_t port = 0;
};

bool isIpv4Address(const std::string& host);
// The first IPv4 address of a host name or dotted address.
uint32_t resolveIpv4(const std::string& host);
std::string ipv4Text(uint32_t address);

// An owned, non-blocking TCP socket. Sends never raise SIGPIPE.
class Socket {
public:
    Socket() = default;
    explicit Socket(int fd);
    ~Socket() { close(); }
    Socket(Socket&& other) noexcept : m_fd(other.release()) {}
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int fd() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();
    void close();
    // Ends both directions at once, so that a peer or a waiting loop sees it.
    void shutdown();
    // Ends our sending direction; the peer reads the end of the stream.
    void shutdownSend();

    // A listening socket on the address, on a port the system chooses when 0.
    static Socket listenOn(uint32_t address, uint16_t port = 0, int backlog = 1);
    Endpoint localEndpoint() const;
    // The address and port of the connected peer.
    Endpoint peerEndpoint() const;
    // A pending incoming connection, or an invalid socket when none waits.
    Socket acceptPending();

    // Bytes received, 0 at the end of the stream, -1 when nothing is there now.
    ssize_t receiveSome(char* buffer, size_t size);
    // Bytes sent, -1 when the socket can take nothing now.
    ssize_t sendSome(const char* data, size_t size);

private:
    int m_fd = -1;
};

} // namespace net
