#include "ScriptedFtpServer.h"

#include "Loopback.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr auto kStepLimit = std::chrono::milliseconds(5000);

void sendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (fd >= 0 && sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += static_cast<size_t>(n);
    }
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

ScriptedFtpServer::ScriptedFtpServer() {
    m_listener = loopback::listen(4, m_port, SOCK_CLOEXEC);
    m_stop = eventfd(0, EFD_CLOEXEC);
}

ScriptedFtpServer::~ScriptedFtpServer() {
    uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(m_stop, &one, sizeof one);
    if (m_thread.joinable())
        m_thread.join();
    ::close(m_listener);
    ::close(m_stop);
}

void ScriptedFtpServer::play(std::vector<Step> script) {
    m_thread = std::thread(&ScriptedFtpServer::run, this, std::move(script));
}

bool ScriptedFtpServer::waitReadable(int fd, std::chrono::milliseconds limit) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {m_stop, POLLIN, 0}};
    int n = ::poll(fds, 2, static_cast<int>(limit.count()));
    return n > 0 && fds[0].revents != 0 && fds[1].revents == 0;
}

void ScriptedFtpServer::record(std::string& into, const std::string& bytes) {
    std::lock_guard lock(m_mutex);
    into += bytes;
}

std::string ScriptedFtpServer::readLine(int fd) {
    for (;;) {
        auto end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string line = m_pending.substr(0, end + 1);
            m_pending.erase(0, end + 1);
            record(m_control, line);
            return line;
        }
        char chunk[4096];
        ssize_t n = waitReadable(fd, kStepLimit) ? ::recv(fd, chunk, sizeof chunk, 0) : -1;
        if (n <= 0)
            throw std::runtime_error("no command line came");
        m_pending.append(chunk, static_cast<size_t>(n));
    }
}

namespace {

sockaddr_in lastPortAddress(const std::string& port) {
    unsigned h[4], p[2];
    if (std::sscanf(port.c_str(), "%u,%u,%u,%u,%u,%u", &h[0], &h[1], &h[2], &h[3], &p[0], &p[1]) !=
        6)
        throw std::runtime_error("no PORT to connect to");
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(h[0] << 24 | h[1] << 16 | h[2] << 8 | h[3]);
    sa.sin_port = htons(static_cast<uint16_t>(p[0] * 256 + p[1]));
    return sa;
}

// A connection to `to` from the given local address.
int connectFrom(uint32_t from, const sockaddr_in& to) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(from);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) < 0 ||
        ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
        int error = errno;
        ::close(fd);
        throw std::runtime_error(std::string("data connect: ") + std::strerror(error));
    }
    return fd;
}

} // namespace

void ScriptedFtpServer::playStep(const Step& step, int& control, int& data) {
    switch (step.kind) {
    case Step::Say:
        sendAll(control, step.text);
        break;
    case Step::SayBytewise:
        for (char c : step.text) {
            sendAll(control, std::string(1, c));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        break;
    case Step::Hear: {
        std::string line = readLine(control);
        if (line.rfind("PORT ", 0) == 0)
            m_lastPort = line.substr(5);
        break;
    }
    case Step::ConnectData:
        data = connectFrom(INADDR_LOOPBACK, lastPortAddress(m_lastPort));
        break;
    case Step::Intrude:
        // Kept open until the script ends, so that the client sees a live
        // connection and must turn it away itself.
        m_intruder = connectFrom(0x7F000002, lastPortAddress(m_lastPort));
        sendAll(m_intruder, step.text);
        break;
    case Step::SendData:
        sendAll(data, step.text);
        break;
    case Step::CloseData:
        closeFd(data);
        break;
    case Step::ReceiveData: {
        char chunk[65536];
        ssize_t n;
        while (waitReadable(data, kStepLimit) && (n = ::recv(data, chunk, sizeof chunk, 0)) > 0)
            record(m_data, std::string(chunk, static_cast<size_t>(n)));
        break;
    }
    case Step::Pause:
        waitReadable(-1, std::chrono::milliseconds(step.number));
        break;
    case Step::Close:
        closeFd(control);
        break;
    }
}

void ScriptedFtpServer::run(std::vector<Step> script) {
    int control = -1;
    int data = -1;
    try {
        if (!waitReadable(m_listener, kStepLimit))
            throw std::runtime_error("no client came");
        control = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        int on = 1;
        ::setsockopt(control, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        for (const Step& step : script)
            playStep(step, control, data);
        // Record whatever else the client sends until it hangs up.
        record(m_control, m_pending);
        char chunk[4096];
        ssize_t n;
        while (control >= 0 && waitReadable(control, kStepLimit) &&
               (n = ::recv(control, chunk, sizeof chunk, 0)) > 0)
            record(m_control, std::string(chunk, static_cast<size_t>(n)));
    } catch (const std::exception& e) {
        std::lock_guard lock(m_mutex);
        m_problems.push_back(e.what());
    }
    closeFd(data);
    closeFd(control);
    if (m_intruder >= 0) {
        char chunk[65536];
        ssize_t n;
        while ((n = ::recv(m_intruder, chunk, sizeof chunk, MSG_DONTWAIT)) > 0)
            record(m_intruded, std::string(chunk, static_cast<size_t>(n)));
        closeFd(m_intruder);
    }
}

std::string ScriptedFtpServer::finish() {
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard lock(m_mutex);
    return m_control;
}

std::string ScriptedFtpServer::receivedData() {
    std::lock_guard lock(m_mutex);
    return m_data;
}

std::string ScriptedFtpServer::intruderReceived() {
    std::lock_guard lock(m_mutex);
    return m_intruded;
}

std::vector<std::string> ScriptedFtpServer::problems() {
    std::lock_guard lock(m_mutex);
    return m_problems;
}

ScriptedFtpServer::Step say(std::string text) {
    return {ScriptedFtpServer::Step::Say, std::move(text)};
}
ScriptedFtpServer::Step sayBytewise(std::string text) {
    return {ScriptedFtpServer::Step::SayBytewise, std::move(text)};
}
ScriptedFtpServer::Step hear() {
    return {ScriptedFtpServer::Step::Hear, {}};
}
ScriptedFtpServer::Step connectData() {
    return {ScriptedFtpServer::Step::ConnectData, {}};
}
ScriptedFtpServer::Step sendData(std::string text) {
    return {ScriptedFtpServer::Step::SendData, std::move(text)};
}
ScriptedFtpServer::Step closeData() {
    return {ScriptedFtpServer::Step::CloseData, {}};
}
ScriptedFtpServer::Step receiveData() {
    return {ScriptedFtpServer::Step::ReceiveData, {}};
}
ScriptedFtpServer::Step pause(int milliseconds) {
    return {ScriptedFtpServer::Step::Pause, {}, milliseconds};
}
ScriptedFtpServer::Step hangUp() {
    return {ScriptedFtpServer::Step::Close, {}};
}
ScriptedFtpServer::Step intrude(std::string text) {
    return {ScriptedFtpServer::Step::Intrude, std::move(text)};
}

std::vector<ScriptedFtpServer::Step> greetingAndLogin() {
    return {say("220 Scripted server ready\r\n"),
            hear(),
            say("331 Password required\r\n"),
            hear(),
            say("230 Logged in\r\n"),
            hear(),
            say("200 Type set to I\r\n"),
            hear(),
            say("215 UNIX Type: L8\r\n")};
}

void append(std::vector<ScriptedFtpServer::Step>& script,
            const std::vector<ScriptedFtpServer::Step>& more) {
    script.insert(script.end(), more.begin(), more.end());
}
