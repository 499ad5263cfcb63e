#pragma once

#include <cstdint>
#include <string>

namespace net {

// A server as a person types it: a host name or address, and a port after
// a ":" when the server does not listen on the usual one.
struct HostAndPort {
    std::string host;
    uint16_t port = 0;
};

// Splits "host" or "host:port"; blanks around either part are dropped. A
// text with more than one ":" is taken as a host as it stands. A port that
// is not a number from 1 to 65535 raises SocketError.
HostAndPort splitHostPort(const std::string& text, uint16_t defaultPort);

} // namespace net
