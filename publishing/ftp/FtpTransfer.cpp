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

bool fromAddress(const net::Socket& data, uint32_t address) {
    try {
        return data.peerEndpoint().address == address;
    } catch (const net::SocketError&) {
        return false; // already gone
    }
}

} // namespace

void FtpClient::runTransfer(Transfer& transfer) {
    status(FtpStatus::Transfer, texts::kStartingTransfer);
    try {
        transferSteps(transfer);
    } catch (...) {
        status(FtpStatus::Aborted, texts::kTransferAborted);
        throw;
    }
}

void FtpClient::transferSteps(Transfer& transfer) {
    net::Socket listener = net::Socket::listenOn(m_control->localEndpoint().address);
    net::Endpoint at = listener.localEndpoint();
    command("PORT " + portArgument(at.address, at.port), {200});
    m_control->send(transfer.command);
    FtpReply opening = nextReply();
    if (std::find(transfer.accepted.begin(), transfer.accepted.end(), opening.code) ==
        transfer.accepted.end())
        throw FtpReplyError(opening.code, opening.text());
    if (int64_t announced = announcedSize(opening); !transfer.sending && announced > 0)
        transfer.expected = announced;

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
    uint32_t server = m_control->peerEndpoint().address;
    for (;;) {
        data = listener.acceptPending();
        if (data.valid()) {
            if (fromAddress(data, server))
                return true;
            // Anyone may reach the listening port; only the server's data
            // is taken, and a third party is turned away.
            data.close();
            continue;
        }
        if (m_control->hasBufferedLine()) {
            FtpReply reply = nextReply();
            if (abortsTransfer(reply)) {
                transfer.finalReply = reply;
                return false;
            }
            if (endsTransfer(reply))
                transfer.finalReply = reply; // early; the data still comes
            else if (reply.code / 100 != 1)
                throw FtpReplyError(reply.code, reply.text());
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
    // The waits bound a silence, not the transfer.
    auto now = net::Clock::now();
    transfer.idleDeadline = now + m_settings.idleTimeout;
    if (transfer.deadline)
        transfer.deadline = now + m_settings.dataConnectionWait;
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
    bool closing = transfer.deadline && *transfer.deadline < transfer.idleDeadline;
    auto result = net::waitFor(watches, closing ? transfer.deadline : transfer.idleDeadline,
                               [this] { return m_abandoned; });
    if (result == net::WaitResult::Stopped)
        throw FtpError(texts::kDisconnected);
    if (result == net::WaitResult::TimedOut) {
        if (!closing)
            throw FtpConnectionLost(texts::kTransferStalled);
        if (transfer.controlEnded)
            throw FtpConnectionLost(texts::kClosedByServer);
        throw FtpError(texts::kDataNotClosed);
    }
    if (watches[1].ready && !m_control->readAvailable()) {
        transfer.controlEnded = true;
        transfer.deadline = net::Clock::now() + m_settings.dataConnectionWait;
    }
}

void FtpClient::receiveData(Transfer& transfer, net::Socket& data) {
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
        transfer.moved += n;
        progress(transfer, transfer.moved);
    }
}

void FtpClient::sendData(Transfer& transfer, net::Socket& data) {
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
        transfer.moved += n;
        progress(transfer, transfer.moved);
    }
}

// The work-end event follows the work-begin one on every way out, so that
// a progress display never stays half full.
void FtpClient::moveData(Transfer& transfer, net::Socket& data) {
    if (OnWorkBegin)
        OnWorkBegin(transfer.expected);
    transfer.idleDeadline = net::Clock::now() + m_settings.idleTimeout;
    try {
        moveBytes(transfer, data);
    } catch (...) {
        data.close();
        if (OnWorkEnd)
            OnWorkEnd();
        throw;
    }
    data.close();
    if (OnWorkEnd)
        OnWorkEnd();
}

// Moves the bytes; a failure that leaves the session usable is kept in
// the transfer, for the server's answer to be read first.
void FtpClient::moveBytes(Transfer& transfer, net::Socket& data) {
    try {
        if (transfer.sending)
            sendData(transfer, data);
        else
            receiveData(transfer, data);
    } catch (const FtpConnectionLost&) {
        throw;
    } catch (const net::SocketError& e) {
        transfer.failure = e.what();
    } catch (const FtpLocalError& e) {
        transfer.failure = e.what();
        transfer.localFailure = true;
    } catch (const FtpError& e) {
        if (m_abandoned)
            throw;
        transfer.failure = e.what();
    }
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
        // The server's 426 then only echoes what went wrong here.
        if (transfer.localFailure)
            throw FtpError(transfer.failure);
        if (reply->code >= 400)
            throw FtpReplyError(reply->code, reply->text());
        throw FtpError(transfer.failure);
    }
    status(FtpStatus::Ready, texts::kTransferComplete);
    FtpReply reply =
        transfer.finalReply ? *transfer.finalReply : expect(nextReply(), {225, 226, 250, 426, 450});
    if (abortsTransfer(reply)) {
        transfer.finalReply = reply;
        readSecondReply();
        status(FtpStatus::Aborted, texts::kTransferAborted);
        transfer.aborted = true;
        return;
    }
    // A server that announced a size and then ended early has not sent
    // the whole file, whatever its final reply says.
    if (!transfer.sending && transfer.moved < transfer.expected)
        throw FtpError(texts::shortTransfer(transfer.moved, transfer.expected));
}

// Some servers follow a 426 or 450 with a second reply, most send none: it
// is read when it comes soon, and left to the next operation's clean-up when
// it comes late.
void FtpClient::readSecondReply() {
    try {
        if (!m_control->readReply(net::Clock::now() + m_settings.secondReplyWait))
            m_outOfStep = true;
    } catch (const FtpConnectionLost&) {
        // Noticed by the next operation, which finds the session closed.
    }
}

} // namespace ftp
