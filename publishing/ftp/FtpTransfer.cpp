#include "FtpTransfer.h"

#include "publishing/ftp/FtpError.h"
#include "publishing/ftp/FtpTexts.h"

#include <algorithm>
#include <poll.h>
#include <vector>

namespace ftp {

namespace {

bool endsTransfer(const FtpReply& reply) {
    return reply.is({225, 226, 250});
}

bool abortsTransfer(const FtpReply& reply) {
    return reply.is({426, 450});
}

} // namespace

void FtpClient::runTransfer(Transfer& transfer) {
    status(FtpStatus::Transfer, texts::kStartingTransfer);
    net::Socket listener = net::Socket::listenOn(m_control->localEndpoint().address);
    net::Endpoint at = listener.localEndpoint();
    command("PORT " + portArgument(at.address, at.port), {200});
    m_control->send(transfer.command);
    auto opening = m_control->readReply();
    if (!opening)
        throw FtpConnectionLost(texts::kClosedByServer);
    if (std::find(transfer.accepted.begin(), transfer.accepted.end(), opening->code) ==
        transfer.accepted.end())
        throw FtpReplyError(opening->code, opening->text());
    if (transfer.expected <= 0)
        transfer.expected = announcedSize(*opening);

    net::Socket data;
    if (!awaitDataConnection(transfer, listener, data)) {
        // The server ended the transfer without ever connecting.
        readSecondReply();
        status(FtpStatus::Aborted, texts::kTransferAborted);
        transfer.aborted = true;
        return;
    }
    listener.close();
    moveData(transfer, data);
    finishTransfer(transfer);
}

// Waits for the server to connect, watching the control connection at the
// same time: a server that refuses (425, 421) or gives up (426, 450) says so
// there instead of connecting, and one that never connects is given up on.
// False when the server ended the transfer without a data connection.
bool FtpClient::awaitDataConnection(Transfer& transfer, net::Socket& listener, net::Socket& data) {
    net::Deadline deadline = net::Clock::now() + m_settings.dataConnectionWait;
    for (;;) {
        data = listener.acceptPending();
        if (data.valid())
            return true;
        if (m_control->hasBufferedLine()) {
            auto reply = m_control->readReply();
            if (!reply)
                throw FtpConnectionLost(texts::kClosedByServer);
            if (abortsTransfer(*reply)) {
                transfer.finalReply = reply;
                return false;
            }
            if (endsTransfer(*reply))
                transfer.finalReply = reply; // early; the data still comes
            else if (reply->code / 100 != 1)
                throw FtpReplyError(reply->code, reply->text());
            continue;
        }
        net::Watch watches[2] = {{listener.fd(), POLLIN}, {m_control->fd(), POLLIN}};
        auto result = net::waitFor(watches, deadline, [this] { return m_abandoned; });
        if (result == net::WaitResult::Stopped)
            throw FtpError(texts::kDisconnected);
        if (result == net::WaitResult::TimedOut)
            throw FtpError(texts::kNoDataConnection);
        if (watches[1].ready && !watches[0].ready && !m_control->readAvailable() &&
            !m_control->hasBufferedLine())
            throw FtpConnectionLost(texts::kClosedByServer);
    }
}

void FtpClient::progress(Transfer& transfer, int64_t done) {
    // Where the wait is bounded, it bounds a silence, not the transfer.
    if (transfer.deadline)
        transfer.deadline = net::Clock::now() + m_settings.dataConnectionWait;
    if (OnWork)
        OnWork(done);
    net::keepResponsive();
    if (m_abandoned)
        throw FtpError(texts::kDisconnected);
}

// Waits until the data connection is ready for `events`, noting on the way
// whether the control connection has ended: a transfer whose session has
// gone may then be silent for a bounded time only. So may a retrieval that
// the server has already declared finished: the rest of the data may still
// be on its way, but not for ever.
void FtpClient::waitOnData(Transfer& transfer, net::Socket& data, short events) {
    if (!transfer.sending && !transfer.deadline &&
        (transfer.finalReply || m_control->hasBufferedLine()))
        transfer.deadline = net::Clock::now() + m_settings.dataConnectionWait;
    int controlFd = transfer.controlEnded ? -1 : m_control->fd();
    net::Watch watches[2] = {{data.fd(), events}, {controlFd, POLLIN}};
    auto result = net::waitFor(watches, transfer.deadline, [this] { return m_abandoned; });
    if (result == net::WaitResult::Stopped)
        throw FtpError(texts::kDisconnected);
    if (result == net::WaitResult::TimedOut) {
        if (transfer.controlEnded)
            throw FtpConnectionLost(texts::kClosedByServer);
        throw FtpError(texts::kDataNotClosed);
    }
    if (watches[1].ready && !m_control->readAvailable()) {
        transfer.controlEnded = true;
        transfer.deadline = net::Clock::now() + m_settings.dataConnectionWait;
    }
}

void FtpClient::receiveData(Transfer& transfer, net::Socket& data, int64_t& done) {
    std::vector<char> buffer(m_settings.receiveBufferSize);
    for (;;) {
        ssize_t n = data.receiveSome(buffer.data(), buffer.size());
        if (n == 0)
            return;
        if (n < 0) {
            waitOnData(transfer, data, POLLIN);
            continue;
        }
        transfer.sink(buffer.data(), static_cast<size_t>(n));
        done += n;
        progress(transfer, done);
    }
}

void FtpClient::sendData(Transfer& transfer, net::Socket& data, int64_t& done) {
    std::vector<char> buffer(m_settings.sendBufferSize);
    size_t filled = 0;
    size_t offset = 0;
    for (;;) {
        if (offset == filled) {
            filled = transfer.source(buffer.data(), buffer.size());
            offset = 0;
            if (filled == 0)
                return;
        }
        ssize_t n = data.sendSome(buffer.data() + offset, filled - offset);
        if (n < 0) {
            waitOnData(transfer, data, POLLOUT);
            // A reply before the whole file has gone means the server has
            // stopped taking it.
            if (m_control->hasBufferedLine())
                throw FtpError(texts::kStoreRefused);
            continue;
        }
        offset += static_cast<size_t>(n);
        done += n;
        progress(transfer, done);
    }
}

void FtpClient::moveData(Transfer& transfer, net::Socket& data) {
    if (OnWorkBegin)
        OnWorkBegin(transfer.expected);
    int64_t done = 0;
    try {
        if (transfer.sending)
            sendData(transfer, data, done);
        else
            receiveData(transfer, data, done);
    } catch (const FtpConnectionLost&) {
        throw;
    } catch (const net::SocketError& e) {
        transfer.failure = e.what();
    } catch (const FtpError& e) {
        if (m_abandoned)
            throw;
        transfer.failure = e.what(); // a local file that could not be read or written
    }
    data.close();
    if (OnWorkEnd)
        OnWorkEnd();
}

void FtpClient::finishTransfer(Transfer& transfer) {
    if (!transfer.failure.empty()) {
        // The server's answer is still read, so that it is not taken for the
        // answer to the next command; without one the session is out of step.
        auto reply = transfer.finalReply;
        if (!reply)
            reply = m_control->readReply(net::Clock::now() + m_settings.dataConnectionWait);
        if (!reply)
            throw FtpConnectionLost(transfer.failure);
        if (abortsTransfer(*reply))
            readSecondReply();
        if (reply->code >= 400)
            throw FtpReplyError(reply->code, reply->text());
        throw FtpError(transfer.failure);
    }
    status(FtpStatus::Ready, texts::kTransferComplete);
    FtpReply reply = transfer.finalReply
                         ? *transfer.finalReply
                         : expect(m_control->readReply(), {225, 226, 250, 426, 450});
    if (abortsTransfer(reply)) {
        transfer.finalReply = reply;
        readSecondReply();
        status(FtpStatus::Aborted, texts::kTransferAborted);
        transfer.aborted = true;
    }
}

// Some servers follow a 426 or 450 with a second reply, most send none: it
// is read when it comes soon, and left to the next operation's clean-up when
// it comes late.
void FtpClient::readSecondReply() {
    try {
        m_control->readReply(net::Clock::now() + m_settings.secondReplyWait);
    } catch (const FtpConnectionLost&) {
        // Noticed by the next operation, which finds the session closed.
    }
}

} // namespace ftp
