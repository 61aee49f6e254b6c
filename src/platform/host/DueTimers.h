#pragma once
// The timers of both native main loops (the test double's on the virtual clock and the Linux
// program's): each enabled timer with its due tick. Main thread only.
#include <cstdint>

namespace platform::host {

// False when no timer is enabled; else ms until the next tick (0 or less: due now).
bool NextTimerDue(int32_t& ms);
// Fires the timer whose tick is due, if any; a late tick fires once, not once per period
// missed. True when one fired.
bool FireDueTimer();

}  // namespace platform::host
