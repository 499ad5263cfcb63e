#include "MainLoop.h"

#include <glib.h>

namespace net {

void processPendingEvents() {
    // Bounded so that a source that is always ready (an idle handler) cannot
    // keep the waiting operation from looking at its sockets again.
    for (int i = 0; i < 64 && g_main_context_pending(nullptr); ++i)
        g_main_context_iteration(nullptr, FALSE);
}

} // namespace net
