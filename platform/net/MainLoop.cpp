#include "MainLoop.h"

#include "platform/loop/PumpUntil.h"

namespace net {

void processPendingEvents() {
    loop::pumpPending();
}

} // namespace net
