#pragma once
// Milliseconds everywhere; only the platform implementation talks to the OS clock.
#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start (wraps like GetTickCount). Native builds
// return a virtual clock that only moves when something advances it.
uint32_t TickCount();

// Native builds advance the virtual clock by ms instead of sleeping.
void SleepMs(uint32_t ms);

}  // namespace platform
