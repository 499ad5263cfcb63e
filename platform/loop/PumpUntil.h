#pragma once

// Waiting while the main loop runs. Every wait of the program that keeps
// the windows alive goes through here, and every one has a deadline.

#include <chrono>
#include <functional>

namespace loop {

using Clock = std::chrono::steady_clock;

// Runs the main loop's events until `done` answers true or the deadline
// passes; answers whether `done` held. The loop sleeps until an event comes,
// but asks `done` again at least every `recheck`, for conditions that no
// main-loop event announces. Handlers run in here and may wait themselves.
bool pumpUntil(const std::function<bool()>& done, Clock::time_point deadline,
               std::chrono::milliseconds recheck = std::chrono::milliseconds(10));

inline bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
                      std::chrono::milliseconds recheck = std::chrono::milliseconds(10)) {
    return pumpUntil(done, Clock::now() + limit, recheck);
}

// Runs the events already pending, without blocking and a bounded number of
// them, so that a source that is always ready cannot hold the caller.
void pumpPending();

} // namespace loop
