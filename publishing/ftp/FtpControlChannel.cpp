#include "FtpControlChannel.h"

#include "publishing/ftp/FtpError.h"
#include "publishing/ftp/FtpTexts.h"

#include <poll.h>

namespace ftp {

namespace {
constexpr size_t kLongestReply = 1 << 20;
}

FtpControlChannel::FtpControlChannel(net::Socket socket, size_t maxLineLength,
                                     std::function<bool()> stop)
    : m_socket(std::move(socket)), m_maxLineLength(maxLineLength), m_stop(std::move(stop)) {}

void FtpControlChannel::checkStopped() const {
    if (m_stop && m_stop())
        throw FtpError(texts::kDisconnected);
}

void FtpControlChannel::send(const std::string& command) {
    std::string line = command + "\r\n";
    size_t sent = 0;
    while (sent < line.size()) {
        checkStopped();
        ssize_t n = 0;
        try {
            n = m_socket.sendSome(line.data() + sent, line.size() - sent);
        } catch (const net::SocketError& e) {
            throw FtpConnectionLost(e.what());
        }
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        net::Watch writable{m_socket.fd(), POLLOUT};
        if (net::waitFor(std::span(&writable, 1), std::nullopt, m_stop) == net::WaitResult::Stopped)
            throw FtpError(texts::kDisconnected);
    }
}

bool FtpControlChannel::hasBufferedLine() const {
    return m_buffer.find('\n', m_consumed) != std::string::npos;
}

bool FtpControlChannel::readAvailable() {
    char chunk[4096];
    // Bounded, so that a server that never stops sending cannot hold us here.
    for (int round = 0; round < 64 && !m_endOfStream; ++round) {
        ssize_t n = 0;
        try {
            n = m_socket.receiveSome(chunk, sizeof chunk);
        } catch (const net::SocketError&) {
            n = 0; // a reset connection is as closed as an ended one
        }
        if (n < 0)
            break;
        if (n == 0) {
            m_endOfStream = true;
        } else {
            dropConsumed();
            m_buffer.append(chunk, static_cast<size_t>(n));
        }
    }
    return !m_endOfStream;
}

// Lines are taken by moving an offset; the bytes before it go only when
// they are at least half the buffer, so each byte is moved a bounded
// number of times however many lines arrive at once.
void FtpControlChannel::dropConsumed() {
    if (m_consumed > 0 && m_consumed * 2 >= m_buffer.size()) {
        m_buffer.erase(0, m_consumed);
        m_consumed = 0;
    }
}

void FtpControlChannel::discardStale() {
    bool open = readAvailable();
    m_buffer.clear();
    m_consumed = 0;
    if (!open)
        throw FtpConnectionLost(texts::kClosedByServer);
}

bool FtpControlChannel::receiveMore(net::Deadline deadline) {
    if (m_endOfStream)
        throw FtpConnectionLost(texts::kClosedByServer);
    net::Watch readable{m_socket.fd(), POLLIN};
    auto result = net::waitFor(std::span(&readable, 1), deadline, m_stop);
    if (result == net::WaitResult::Stopped)
        throw FtpError(texts::kDisconnected);
    if (result == net::WaitResult::TimedOut)
        return false;
    size_t before = m_buffer.size() - m_consumed;
    readAvailable();
    if (m_buffer.size() - m_consumed == before && m_endOfStream)
        throw FtpConnectionLost(texts::kClosedByServer);
    return true;
}

std::optional<std::string> FtpControlChannel::takeBufferedLine() {
    auto end = m_buffer.find('\n', m_consumed);
    if (end == std::string::npos) {
        // CR LF may still follow a line of the longest allowed length.
        if (m_buffer.size() - m_consumed > m_maxLineLength + 1)
            throw FtpConnectionLost(texts::kMaxLineLength);
        return std::nullopt;
    }
    std::string line = m_buffer.substr(m_consumed, end - m_consumed);
    m_consumed = end + 1;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() > m_maxLineLength)
        throw FtpConnectionLost(texts::kMaxLineLength);
    return line;
}

std::optional<std::string> FtpControlChannel::readLine(net::Deadline deadline) {
    for (;;) {
        if (auto line = takeBufferedLine())
            return line;
        if (!receiveMore(deadline))
            return std::nullopt;
    }
}

std::optional<FtpReply> FtpControlChannel::readReply(net::Deadline deadline) {
    auto first = readLine(deadline);
    if (!first)
        return std::nullopt;
    FtpReply reply{replyCode(*first), {*first}};
    if (opensMultiLineReply(*first)) {
        size_t size = first->size();
        for (;;) {
            auto line = readLine(deadline);
            if (!line)
                return std::nullopt;
            // A reply that never ends would take all memory.
            size += line->size() + 1;
            if (size > kLongestReply)
                throw FtpConnectionLost(texts::kReplyTooLong);
            reply.lines.push_back(*line);
            if (endsMultiLineReply(*first, *line))
                break;
        }
    }
    return reply;
}

} // namespace ftp
