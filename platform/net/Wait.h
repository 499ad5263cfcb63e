#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <span>

namespace net {

using Clock = std::chrono::steady_clock;
// No deadline: wait as long as it takes.
using Deadline = std::optional<Clock::time_point>;

// One file descriptor to wait on; `ready` receives what happened (poll flags).
struct Watch {
    int fd = -1;
    short events = 0;
    short ready = 0;
};

enum class WaitResult { Ready, TimedOut, Stopped };

// Waits until one of the watched descriptors is ready, the deadline passes,
// or `stop` answers true. Main-loop events are handled as they come
// meanwhile (loop::pumpUntil), so handlers can run (and may call back into the
// caller: `stop` is how the caller learns that it has to give up).
WaitResult waitFor(std::span<Watch> watches, Deadline deadline,
                   const std::function<bool()>& stop = {});

// Processes pending main-loop events when 50 ms have passed since the last
// time; called by loops that keep busy without waiting.
void keepResponsive();

} // namespace net
