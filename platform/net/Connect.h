#pragma once

#include "Socket.h"
#include "Wait.h"

#include <chrono>
#include <functional>
#include <string>

namespace net {

// Raised when a connection attempt has not finished in time.
class ConnectTimeout : public SocketError {
public:
    ConnectTimeout() : SocketError("Connect timed out.") {}
};

// Raised when the caller's `stop` ended the attempt.
class ConnectStopped : public SocketError {
public:
    using SocketError::SocketError;
};

// Opens a TCP connection. The attempt runs on a short-lived thread of its
// own while the calling thread waits in steps of 50 ms, processing pending
// main-loop events; after `timeout` the attempt is abandoned (its socket
// closed) and ConnectTimeout raised. A failed attempt raises SocketError with
// the system's message.
Socket connectTo(Endpoint to, std::chrono::milliseconds timeout,
                 const std::function<bool()>& stop = {});

// The first IPv4 address of a host name or dotted address. A name is looked
// up off the calling thread, which waits as connectTo does, so a slow name
// server never freezes the window; the wait ends at the deadline
// (ConnectTimeout) or when `stop` answers true (ConnectStopped). A name that
// cannot be found raises SocketError with the resolver's message.
uint32_t lookUpIpv4(const std::string& host, Clock::time_point deadline,
                    const std::function<bool()>& stop = {});

} // namespace net
