#include "Wait.h"

#include "platform/loop/PumpUntil.h"

#include <glib-unix.h>
#include <poll.h>

#include <memory>
#include <vector>

namespace net {

namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(50);

Clock::time_point& lastPump() {
    static Clock::time_point last = Clock::now();
    return last;
}

// Polls without waiting; true when something is ready already.
bool readyNow(std::span<Watch> watches) {
    std::vector<pollfd> fds;
    fds.reserve(watches.size());
    for (const Watch& w : watches)
        fds.push_back({w.fd, w.events, 0});
    if (::poll(fds.data(), fds.size(), 0) <= 0)
        return false;
    for (size_t i = 0; i < watches.size(); ++i)
        watches[i].ready = fds[i].revents;
    return true;
}

// The watched descriptors as sources of the main loop, so that the loop's
// wait ends when one is ready.
class WatchSources {
public:
    explicit WatchSources(std::span<Watch> watches) {
        for (Watch& w : watches) {
            if (w.fd < 0)
                continue;
            GSource* source = g_unix_fd_source_new(
                w.fd, static_cast<GIOCondition>(w.events | G_IO_HUP | G_IO_ERR));
            m_targets.push_back(std::make_unique<Target>(Target{&w, &m_ready}));
            g_source_set_callback(source, G_SOURCE_FUNC(&WatchSources::onReady),
                                  m_targets.back().get(), nullptr);
            g_source_attach(source, nullptr);
            m_sources.push_back(source);
        }
    }
    ~WatchSources() {
        for (GSource* source : m_sources) {
            g_source_destroy(source);
            g_source_unref(source);
        }
    }
    WatchSources(const WatchSources&) = delete;
    WatchSources& operator=(const WatchSources&) = delete;

    bool ready() const { return m_ready; }

private:
    struct Target {
        Watch* watch;
        bool* ready;
    };
    static gboolean onReady(gint, GIOCondition condition, gpointer data) {
        auto* target = static_cast<Target*>(data);
        target->watch->ready = static_cast<short>(condition);
        *target->ready = true;
        return G_SOURCE_CONTINUE;
    }
    bool m_ready = false;
    std::vector<std::unique_ptr<Target>> m_targets;
    std::vector<GSource*> m_sources;
};

} // namespace

void keepResponsive() {
    if (Clock::now() - lastPump() >= kPumpInterval) {
        lastPump() = Clock::now();
        loop::pumpPending();
    }
}

WaitResult waitFor(std::span<Watch> watches, Deadline deadline, const std::function<bool()>& stop) {
    for (Watch& w : watches)
        w.ready = 0;
    if (stop && stop())
        return WaitResult::Stopped;
    if (readyNow(watches))
        return WaitResult::Ready;
    WatchSources sources(watches);
    bool stopped = false;
    // Without a deadline the wait ends by `stop` (the user's disconnect) or
    // when a descriptor is ready.
    bool ended = loop::pumpUntil(
        [&] {
            stopped = stop && stop();
            return stopped || sources.ready();
        },
        deadline.value_or(Clock::time_point::max()), kPumpInterval);
    lastPump() = Clock::now();
    if (!ended)
        return WaitResult::TimedOut;
    return stopped ? WaitResult::Stopped : WaitResult::Ready;
}

} // namespace net
