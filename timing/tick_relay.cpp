#include "timing/tick_relay.h"

#include "timing/timer_thread.h"

namespace kelvox {

void TickRelay::deliver() {
    worker_.RunTick();
}

} // namespace kelvox
