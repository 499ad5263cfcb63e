#pragma once

#include "publishing/ftp/FtpReply.h"

#include "platform/net/Socket.h"
#include "platform/net/Wait.h"

#include <functional>
#include <optional>
#include <string>

namespace ftp {

// The control connection: command lines out, replies in. Replies are read
// line by line from a buffer, so any split of the bytes on the wire (one at
// a time, several replies at once) reads the same.
class FtpControlChannel {
public:
    // `stop` answers true once the session has been closed from elsewhere
    // while an operation waits; the channel then gives up with an error.
    FtpControlChannel(net::Socket socket, size_t maxLineLength, std::function<bool()> stop);

    int fd() const { return m_socket.fd(); }
    net::Endpoint localEndpoint() const { return m_socket.localEndpoint(); }
    net::Endpoint peerEndpoint() const { return m_socket.peerEndpoint(); }
    void shutdown() { m_socket.shutdown(); }

    // Sends one command line; CR LF is appended.
    void send(const std::string& command);
    // The next reply; nullopt when the deadline passes first.
    std::optional<FtpReply> readReply(net::Deadline deadline = {});
    // Whether a whole line has arrived and waits in the buffer.
    bool hasBufferedLine() const;
    // Takes in what has arrived, without waiting; false once the server has
    // closed the connection.
    bool readAvailable();
    // Forgets what arrived unasked (a late reply of an earlier transfer), so
    // that it is not taken for the answer to the next command.
    void discardStale();

private:
    std::optional<std::string> readLine(net::Deadline deadline);
    std::optional<std::string> takeBufferedLine();
    // Waits for more bytes; false when the deadline passed.
    bool receiveMore(net::Deadline deadline);
    void checkStopped() const;
    void dropConsumed();

    net::Socket m_socket;
    size_t m_maxLineLength;
    std::function<bool()> m_stop;
    std::string m_buffer;
    size_t m_consumed = 0; // bytes of m_buffer already taken as lines
    bool m_endOfStream = false;
};

} // namespace ftp
