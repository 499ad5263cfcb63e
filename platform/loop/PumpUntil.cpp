#include "platform/loop/PumpUntil.h"

#include <glib.h>

#include <algorithm>

namespace loop {

namespace {

gboolean wakeOnly(gpointer) {
    return G_SOURCE_REMOVE;
}

} // namespace

bool pumpUntil(const std::function<bool()>& done, Clock::time_point deadline,
               std::chrono::milliseconds recheck) {
    for (;;) {
        if (done())
            return true;
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        auto sleep = std::max(std::chrono::milliseconds(1), std::min(left, recheck));
        // Bounds the one blocking turn: without it a quiet main loop would
        // sleep past the deadline.
        GSource* wake = g_timeout_source_new(static_cast<guint>(sleep.count()));
        g_source_set_callback(wake, wakeOnly, nullptr, nullptr);
        g_source_attach(wake, nullptr);
        g_main_context_iteration(nullptr, TRUE);
        g_source_destroy(wake);
        g_source_unref(wake);
    }
}

void pumpPending() {
    for (int i = 0; i < 64 && g_main_context_pending(nullptr); ++i)
        g_main_context_iteration(nullptr, FALSE);
}

} // namespace loop
