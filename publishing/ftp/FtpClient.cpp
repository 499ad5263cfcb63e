#include "FtpClient.h"

#include "publishing/ftp/FtpError.h"
#include "publishing/ftp/FtpTexts.h"
#include "publishing/ftp/FtpTransfer.h"

#include "platform/net/Connect.h"
#include "platform/net/HostPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace ftp {

namespace {

// The pattern with each "%s" replaced by the next argument in turn.
std::string filled(const char* pattern, std::initializer_list<std::string> arguments) {
    std::string text = pattern;
    size_t from = 0;
    for (const std::string& argument : arguments) {
        auto at = text.find("%s", from);
        if (at == std::string::npos)
            break;
        text.replace(at, 2, argument);
        from = at + argument.size();
    }
    return text;
}

std::string withArgument(const char* pattern, const std::string& argument) {
    return filled(pattern, {argument});
}

// A name or password with a line break or NUL would end the command early
// and let the rest be read as a command of its own.
void refuseUnsafe(const std::string& argument) {
    if (argument.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        throw FtpError(texts::kUnsafeArgument);
}

std::string fileError(const char* pattern, const std::string& path, int error) {
    return filled(pattern, {path, std::strerror(error)});
}

// An open file descriptor, closed when it goes.
class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return m_fd; }
    int close() {
        int rc = m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

// The retrieved bytes go to a hidden file beside the target, which takes
// the target's name only when the whole file has arrived: a failed Get
// leaves no partial file under the name the caller asked for.
class DownloadFile {
public:
    explicit DownloadFile(const std::string& target) : m_target(target) {
        if (int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC); fd >= 0)
            ::close(fd);
        else if (errno != ENOENT)
            throw FtpError(fileError(texts::kCannotCreate, target, errno));
        auto slash = target.rfind('/');
        m_temporary = target.substr(0, slash == std::string::npos ? 0 : slash + 1) + ".~" +
                      target.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
        m_file = std::make_unique<FileHandle>(mkostemp(m_temporary.data(), O_CLOEXEC));
        if (m_file->fd() < 0)
            throw FtpError(fileError(texts::kCannotCreate, target, errno));
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(m_file->fd(), 0666 & ~mask);
    }
    ~DownloadFile() {
        if (!m_kept)
            ::unlink(m_temporary.c_str());
    }
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    void write(const char* data, size_t size) {
        while (size > 0) {
            ssize_t n = ::write(m_file->fd(), data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw FtpLocalError(fileError(texts::kCannotWrite, m_target, errno));
            data += n;
            size -= static_cast<size_t>(n);
        }
    }
    void keep() {
        if (m_file->close() != 0)
            throw FtpLocalError(fileError(texts::kCannotWrite, m_target, errno));
        if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
            throw FtpError(fileError(texts::kCannotCreate, m_target, errno));
        m_kept = true;
    }

private:
    std::string m_target;
    std::string m_temporary;
    std::unique_ptr<FileHandle> m_file;
    bool m_kept = false;
};

} // namespace

FtpClient::FtpClient(FtpSettings settings) : m_settings(settings) {}

FtpClient::~FtpClient() = default;

void FtpClient::status(FtpStatus kind, const std::string& text) {
    if (OnStatus)
        OnStatus(kind, text);
}

void FtpClient::closeControl() {
    if (!m_control)
        return;
    m_control.reset();
    if (OnDisconnected)
        OnDisconnected();
    status(FtpStatus::Disconnected, texts::kDisconnected);
}

bool FtpClient::Connected() {
    if (!m_control || m_abandoned)
        return false;
    if (m_busy || m_control->readAvailable())
        return true;
    closeControl();
    return false;
}

void FtpClient::Disconnect() {
    if (m_abandoned)
        return;
    if (!m_control) {
        // A connect under way gives up at its next look.
        if (m_busy)
            m_abandoned = true;
        return;
    }
    // The connection is closed before anything is reported, so that a
    // handler of these events already sees it closed.
    if (m_busy) {
        // The waiting operation still uses the channel: it sees the
        // shutdown, gives up, and drops the channel as it unwinds.
        m_abandoned = true;
        m_control->shutdown();
    } else {
        m_control.reset();
    }
    status(FtpStatus::Disconnecting, texts::kDisconnecting);
    if (OnDisconnected)
        OnDisconnected();
    status(FtpStatus::Disconnected, texts::kDisconnected);
}

// Marks the client busy for the life of an operation, so that a handler
// running while it waits cannot interleave a second command.
class FtpClient::Operation {
public:
    explicit Operation(FtpClient& client) : m_client(client) {
        if (client.m_busy)
            throw FtpError(texts::kBusy);
        client.m_busy = true;
    }
    ~Operation() {
        m_client.m_busy = false;
        if (m_client.m_abandoned) {
            m_client.m_control.reset();
            m_client.m_abandoned = false;
        }
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

private:
    FtpClient& m_client;
};

template <typename Body> auto FtpClient::perform(Body body) -> decltype(body()) {
    if (m_busy)
        throw FtpError(texts::kBusy);
    if (!Connected())
        throw FtpError(texts::kNotConnected);
    Operation operation(*this);
    m_lastSize.reset();
    try {
        m_control->discardStale();
        if (m_outOfStep)
            resynchronize();
        return body();
    } catch (const FtpConnectionLost&) {
        if (!m_abandoned)
            closeControl();
        throw;
    } catch (const FtpReplyError& e) {
        // 421: the server is closing the control connection.
        if (e.code() == 421 && !m_abandoned)
            closeControl();
        throw;
    }
}

void FtpClient::Connect() {
    refuseUnsafe(Username);
    refuseUnsafe(Password);
    refuseUnsafe(Host);
    if (m_busy)
        throw FtpError(texts::kBusy);
    if (Connected())
        throw FtpError(texts::kAlreadyConnected);
    Operation operation(*this);
    try {
        // "host:port" names a server off the usual port; the name lookup
        // and the connect share the one time-out.
        net::HostAndPort server = net::splitHostPort(Host, m_settings.port);
        auto deadline = net::Clock::now() + m_settings.connectTimeout;
        auto abandoned = [this] { return m_abandoned; };
        if (!net::isIpv4Address(server.host))
            status(FtpStatus::Resolving, withArgument(texts::kResolving, server.host));
        uint32_t address = net::lookUpIpv4(server.host, deadline, abandoned);
        status(FtpStatus::Connecting, withArgument(texts::kConnecting, net::ipv4Text(address)));
        // Rounded up: the connect ends at the shared deadline, never before.
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - net::Clock::now());
        net::Socket socket = net::connectTo({address, server.port}, left, abandoned);
        m_control = std::make_unique<FtpControlChannel>(std::move(socket), m_settings.maxLineLength,
                                                        [this] { return m_abandoned; });
        m_outOfStep = false;
        m_lastSize.reset();
        status(FtpStatus::Connected, texts::kConnected);
        greeting();
        login();
        FtpReply system = command("SYST", {200, 215, 500});
        auto systemLines = splitListing(system.text());
        m_system = system.code == 500 ? "Unknown" : systemLines.empty() ? "" : systemLines.front();
        status(FtpStatus::Text, texts::kEstablished);
    } catch (...) {
        if (!m_abandoned)
            closeControl();
        throw;
    }
}

void FtpClient::login() {
    FtpReply user = command("USER " + Username, {230, 331});
    if (user.code == 331)
        command("PASS " + Password, {230});
    command("TYPE I", {200});
}

FtpReply FtpClient::expect(FtpReply reply, std::initializer_list<int> accepted) {
    if (!reply.is(accepted))
        throw FtpReplyError(reply.code, reply.text());
    return reply;
}

FtpReply FtpClient::nextReply() {
    auto reply = m_control->readReply(net::Clock::now() + m_settings.replyTimeout);
    if (!reply)
        throw FtpConnectionLost(texts::kNoReply);
    return *reply;
}

FtpReply FtpClient::command(const std::string& line, std::initializer_list<int> accepted) {
    m_control->send(line);
    return expect(nextReply(), accepted);
}

// A server that is not ready yet greets with 120 and says when it will be;
// its 220 follows.
FtpReply FtpClient::greeting() {
    FtpReply reply = nextReply();
    for (int delays = 0; reply.code == 120 && delays < 16; ++delays)
        reply = nextReply();
    return expect(reply, {220});
}

// An aborted transfer's second reply may come after the short wait for it,
// and would then be taken for the answer to the next command. The answer
// to a NOOP marks where the replies are in step again: the server sends
// the late reply before it reads the NOOP.
void FtpClient::resynchronize() {
    m_outOfStep = false;
    m_control->send("NOOP");
    for (int stale = 0; stale < 4; ++stale) {
        FtpReply reply = nextReply();
        if (reply.code == 421)
            throw FtpReplyError(reply.code, reply.text());
        if (!reply.is({225, 226, 250, 426, 450, 451}))
            return;
    }
}

std::string FtpClient::CurrentDirectory() {
    return perform([&] { return directoryFromPwd(command("PWD", {257})); });
}

void FtpClient::ChangeDirectory(const std::string& directory) {
    refuseUnsafe(directory);
    perform([&] { command("CWD " + directory, {200, 250}); });
}

int64_t FtpClient::Size(const std::string& name) {
    refuseUnsafe(name);
    return perform([&] {
        // Any answer is accepted: the size is simply unknown then.
        m_control->send("SIZE " + name);
        int64_t size = sizeFromReply(nextReply());
        if (size >= 0)
            m_lastSize.emplace(name, size);
        return size;
    });
}

std::vector<std::string> FtpClient::List() {
    return perform([&] {
        ListingLines lines;
        size_t total = 0;
        Transfer transfer;
        transfer.command = "LIST";
        transfer.accepted = {125, 150, 154};
        transfer.sink = [&](const char* data, size_t size) {
            total += size;
            if (total > m_settings.maxListingSize)
                throw FtpLocalError(withArgument(texts::kListingTooLong,
                                                 std::to_string(m_settings.maxListingSize >> 20)));
            lines.add(data, size);
        };
        runTransfer(transfer);
        return lines.finish();
    });
}

void FtpClient::Get(const std::string& remoteName, const std::string& localPath) {
    refuseUnsafe(remoteName);
    if (m_busy)
        throw FtpError(texts::kBusy);
    if (!Connected())
        throw FtpError(texts::kNotConnected);
    // A size the server gave for this very file just before is checked
    // against what arrives, unless the opening reply announces one.
    auto known = std::exchange(m_lastSize, std::nullopt);
    DownloadFile file(localPath);
    perform([&] {
        Transfer transfer;
        if (known && known->first == remoteName)
            transfer.expected = known->second;
        transfer.command = "RETR " + remoteName;
        transfer.accepted = {125, 150, 154};
        transfer.sink = [&](const char* data, size_t size) { file.write(data, size); };
        runTransfer(transfer);
        // An aborted retrieval leaves an incomplete file: a failure here.
        if (transfer.aborted)
            throw FtpReplyError(transfer.finalReply->code, transfer.finalReply->text());
    });
    file.keep();
}

void FtpClient::Put(const std::string& localPath, const std::string& remoteName) {
    refuseUnsafe(remoteName);
    if (m_busy)
        throw FtpError(texts::kBusy);
    if (!Connected())
        throw FtpError(texts::kNotConnected);
    FileHandle file(::open(localPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.fd() < 0)
        throw FtpError(fileError(texts::kCannotOpen, localPath, errno));
    struct stat info {};
    if (::fstat(file.fd(), &info) != 0 || S_ISDIR(info.st_mode))
        throw FtpError(
            fileError(texts::kCannotOpen, localPath, S_ISDIR(info.st_mode) ? EISDIR : errno));
    perform([&] {
        Transfer transfer;
        transfer.command = remoteName.empty() ? "STOU " : "STOR " + remoteName;
        transfer.accepted = {125, 150};
        transfer.sending = true;
        transfer.expected = info.st_size;
        transfer.source = [&](char* buffer, size_t size) {
            ssize_t n;
            while ((n = ::read(file.fd(), buffer, size)) < 0 && errno == EINTR) {
            }
            if (n < 0)
                throw FtpLocalError(fileError(texts::kCannotOpen, localPath, errno));
            return static_cast<size_t>(n);
        };
        runTransfer(transfer);
        // An aborted store leaves an incomplete file on the server.
        if (transfer.aborted)
            throw FtpReplyError(transfer.finalReply->code, transfer.finalReply->text());
    });
}

} // namespace ftp
