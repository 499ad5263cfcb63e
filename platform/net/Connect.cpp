#include "Connect.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace net {

namespace {

// What the attempt's thread and the waiting thread share: two event
// descriptors (finished, abandoned) and the outcome, written by the thread
// before it signals `finished`.
struct Attempt {
    int finished = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    int abandoned = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    int fd = -1;
    int error = 0;

    ~Attempt() {
        ::close(finished);
        ::close(abandoned);
        if (fd >= 0)
            ::close(fd);
    }
};

void signal(int eventFd) {
    uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(eventFd, &one, sizeof one);
}

// The thread's whole work: a non-blocking connect, waited for together with
// the abandon signal.
void attemptConnect(Attempt& a, Endpoint to) {
    a.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (a.fd < 0) {
        a.error = errno;
    } else {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(to.address);
        sa.sin_port = htons(to.port);
        if (::connect(a.fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0) {
            a.error = errno;
            if (a.error == EINPROGRESS) {
                pollfd fds[2] = {{a.fd, POLLOUT, 0}, {a.abandoned, POLLIN, 0}};
                while (::poll(fds, 2, -1) < 0 && errno == EINTR) {
                }
                socklen_t length = sizeof a.error;
                if (fds[1].revents)
                    a.error = ECANCELED;
                else if (getsockopt(a.fd, SOL_SOCKET, SO_ERROR, &a.error, &length) < 0)
                    a.error = errno;
            }
        }
    }
    signal(a.finished);
}

} // namespace

Socket connectTo(Endpoint to, std::chrono::milliseconds timeout,
                 const std::function<bool()>& stop) {
    auto attempt = std::make_unique<Attempt>();
    if (attempt->finished < 0 || attempt->abandoned < 0)
        throwSystemError(errno);
    std::thread worker(attemptConnect, std::ref(*attempt), to);
    Watch finished{attempt->finished, POLLIN};
    WaitResult result = waitFor(std::span(&finished, 1), Clock::now() + timeout, stop);
    if (result != WaitResult::Ready)
        signal(attempt->abandoned);
    worker.join(); // prompt: the thread also waits for the abandon signal
    if (result == WaitResult::TimedOut)
        throw ConnectTimeout();
    if (result == WaitResult::Stopped)
        throw ConnectStopped("Connection attempt cancelled.");
    if (attempt->error != 0)
        throwSystemError(attempt->error);
    Socket connected(attempt->fd);
    attempt->fd = -1;
    return connected;
}

} // namespace net

namespace net {

namespace {

// One lookup on a thread of its own, shared with the caller. A caller that
// gives up before the answer leaves: the thread ends on its own, and the
// last of the two to let go frees what was found.
struct Lookup {
    std::atomic<bool> done{false};
    int error = 0;
    int systemError = 0;
    addrinfo* found = nullptr;

    ~Lookup() {
        if (found)
            freeaddrinfo(found);
    }
};

void lookUp(const std::shared_ptr<Lookup>& lookup, const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    lookup->error = getaddrinfo(host.c_str(), nullptr, &hints, &lookup->found);
    lookup->systemError = errno;
    lookup->done.store(true, std::memory_order_release);
}

std::string lookupError(const Lookup& lookup) {
    return lookup.error == EAI_SYSTEM ? std::strerror(lookup.systemError)
                                      : gai_strerror(lookup.error);
}

} // namespace

uint32_t lookUpIpv4(const std::string& host, Clock::time_point deadline,
                    const std::function<bool()>& stop) {
    if (isIpv4Address(host))
        return resolveIpv4(host);
    auto lookup = std::make_shared<Lookup>();
    try {
        std::thread(lookUp, lookup, host).detach();
    } catch (const std::system_error& e) {
        throw SocketError(e.what());
    }
    bool stoppedByCaller = false;
    auto answered = [&] {
        stoppedByCaller = stop && stop();
        return stoppedByCaller || lookup->done.load(std::memory_order_acquire);
    };
    WaitResult result = waitFor({}, deadline, answered);
    if (result == WaitResult::TimedOut)
        throw ConnectTimeout();
    if (stoppedByCaller)
        throw ConnectStopped("Connection attempt cancelled.");
    const addrinfo* found = lookup->found;
    if (lookup->error != 0 || !found)
        throw SocketError(lookupError(*lookup));
    return ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
}

} // namespace net
