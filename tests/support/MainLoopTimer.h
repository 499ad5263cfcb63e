#pragma once

#include <functional>
#include <glib.h>

// Runs a handler once from the main loop, which the code under test keeps
// running while it waits: how a test clicks in the middle of a wait. The
// timer goes with the object.
class MainLoopTimer {
public:
    explicit MainLoopTimer(std::function<void()> handler) : m_handler(std::move(handler)) {}
    ~MainLoopTimer() {
        if (m_source)
            g_source_remove(m_source);
    }
    MainLoopTimer(const MainLoopTimer&) = delete;
    MainLoopTimer& operator=(const MainLoopTimer&) = delete;

    void scheduleIn(unsigned milliseconds) { m_source = g_timeout_add(milliseconds, &run, this); }
    bool ran() const { return m_ran; }

private:
    static gboolean run(gpointer self) {
        auto* me = static_cast<MainLoopTimer*>(self);
        me->m_source = 0;
        me->m_ran = true;
        me->m_handler();
        return G_SOURCE_REMOVE;
    }

    std::function<void()> m_handler;
    guint m_source = 0;
    bool m_ran = false;
};
