#pragma once

namespace net {

// Runs the handlers whose events are pending on the main loop of the calling
// thread (timers, input, redraws), without blocking. This is what keeps the
// user interface alive while a network operation waits.
void processPendingEvents();

} // namespace net
