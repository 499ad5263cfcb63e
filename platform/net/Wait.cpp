#include "Wait.h"

#include "MainLoop.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <vector>

namespace net {

namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(50);

Clock::time_point& lastPump() {
    static Clock::time_point last = Clock::now();
    return last;
}

void pump() {
    lastPump() = Clock::now();
    processPendingEvents();
}

// Polls once for at most `timeout`; true when something is ready.
bool pollOnce(std::span<Watch> watches, std::chrono::milliseconds timeout) {
    std::vector<pollfd> fds;
    fds.reserve(watches.size());
    for (const Watch& w : watches)
        fds.push_back({w.fd, w.events, 0});
    int n = ::poll(fds.data(), fds.size(), static_cast<int>(timeout.count()));
    if (n <= 0)
        return false; // time-out, or a signal: the caller looks again
    for (size_t i = 0; i < watches.size(); ++i)
        watches[i].ready = fds[i].revents;
    return true;
}

} // namespace

void keepResponsive() {
    if (Clock::now() - lastPump() >= kPumpInterval)
        pump();
}

WaitResult waitFor(std::span<Watch> watches, Deadline deadline, const std::function<bool()>& stop) {
    for (Watch& w : watches)
        w.ready = 0;
    for (;;) {
        if (stop && stop())
            return WaitResult::Stopped;
        auto step = kPumpInterval;
        if (deadline) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now());
            if (left.count() <= 0)
                return WaitResult::TimedOut;
            step = std::min(step, left + std::chrono::milliseconds(1));
        }
        auto sinceLast = Clock::now() - lastPump();
        if (sinceLast >= kPumpInterval)
            pump();
        else
            step = std::min(step, std::chrono::duration_cast<std::chrono::milliseconds>(
                                      kPumpInterval - sinceLast) +
                                      std::chrono::milliseconds(1));
        if (stop && stop())
            return WaitResult::Stopped;
        if (pollOnce(watches, step))
            return WaitResult::Ready;
    }
}

} // namespace net
