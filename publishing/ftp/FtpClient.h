#pragma once

#include "publishing/ftp/FtpControlChannel.h"
#include "publishing/ftp/FtpReply.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ftp {

// Fixed for the life of the client. The program keeps the defaults; tests
// change the port and the waits.
struct FtpSettings {
    uint16_t port = 21;
    std::chrono::milliseconds connectTimeout{120000};
    // Bytes moved per call on a data connection. Sending in 1 KiB pieces
    // halves upload speed on a fast link, so files go out in 64 KiB pieces.
    size_t receiveBufferSize = 256 * 1024;
    size_t sendBufferSize = 64 * 1024;
    size_t maxLineLength = 16384;
    // After a 426 or 450 at the end of a transfer some servers send a
    // second reply and most send none: it is waited for this long only.
    std::chrono::milliseconds secondReplyWait{500};
    // How long the server may take to open a data connection, and to finish
    // a transfer once its control connection has gone.
    std::chrono::milliseconds dataConnectionWait{30000};
    // How long a reply may take to arrive whole, and how long a data
    // connection may move no byte. Either leads to an error and a closed
    // session, since the server is then out of step or gone.
    std::chrono::milliseconds replyTimeout{120000};
    std::chrono::milliseconds idleTimeout{120000};
    // A listing beyond this is refused rather than held in memory.
    size_t maxListingSize = 64u << 20;
};

enum class FtpStatus {
    Resolving,
    Connecting,
    Connected,
    Disconnecting,
    Disconnected,
    Text,
    Transfer,
    Ready,
    Aborted
};

// An FTP client (RFC 959) with one control connection, active-mode data
// connections and binary transfers. Operations block their caller and keep
// the main loop running while they wait; handlers that run meanwhile may
// query Connected() or Disconnect(), while another operation started from
// them fails at once.
class FtpClient {
public:
    explicit FtpClient(FtpSettings settings = {});
    ~FtpClient();
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    // Connection parameters, kept between connections.
    std::string Host;
    std::string Username;
    std::string Password;

    // Events.
    std::function<void(FtpStatus, const std::string&)> OnStatus;
    std::function<void(int64_t expected)> OnWorkBegin;
    std::function<void(int64_t done)> OnWork;
    std::function<void()> OnWorkEnd;
    std::function<void()> OnDisconnected;

    // True while the control connection is open; a connection the server
    // has closed counts as closed.
    bool Connected();
    void Connect();
    // Closes the control connection at once, without QUIT.
    void Disconnect();

    std::string CurrentDirectory();
    void ChangeDirectory(const std::string& directory);
    // The size of a remote file, -1 when the server gives none.
    int64_t Size(const std::string& name);
    std::vector<std::string> List();
    // Retrieves into the local file, which appears only when the whole file
    // has arrived.
    void Get(const std::string& remoteName, const std::string& localPath);
    // Stores the local file; an empty remote name lets the server choose.
    void Put(const std::string& localPath, const std::string& remoteName);

    // What SYST answered at the last connect ("Unknown" on 500).
    const std::string& SystemDescription() const { return m_system; }

private:
    class Operation;
    struct Transfer;

    template <typename Body> auto perform(Body body) -> decltype(body());
    void status(FtpStatus kind, const std::string& text);
    void closeControl();
    void login();
    FtpReply command(const std::string& line, std::initializer_list<int> accepted);
    FtpReply expect(FtpReply reply, std::initializer_list<int> accepted);
    // The next reply, within the reply time-out.
    FtpReply nextReply();
    FtpReply greeting();
    void resynchronize();
    void runTransfer(Transfer& transfer);
    void transferSteps(Transfer& transfer);
    bool awaitDataConnection(Transfer& transfer, net::Socket& listener, net::Socket& data);
    void moveData(Transfer& transfer, net::Socket& data);
    void moveBytes(Transfer& transfer, net::Socket& data);
    void receiveData(Transfer& transfer, net::Socket& data);
    void sendData(Transfer& transfer, net::Socket& data);
    void waitOnData(Transfer& transfer, net::Socket& data, short events);
    void progress(Transfer& transfer, int64_t done);
    void finishTransfer(Transfer& transfer);
    void readSecondReply();

    FtpSettings m_settings;
    std::unique_ptr<FtpControlChannel> m_control;
    bool m_busy = false;
    // Set when Disconnect() ran while an operation was waiting: the
    // operation gives up and drops the connection as it unwinds.
    bool m_abandoned = false;
    std::string m_system;
    // Set when an aborted transfer's second reply may still be on its way.
    bool m_outOfStep = false;
    // The last SIZE answer, good for the operation right after it only.
    std::optional<std::pair<std::string, int64_t>> m_lastSize;
};

} // namespace ftp
