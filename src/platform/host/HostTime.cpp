#include <atomic>

#include "platform/Time.h"
#include "platform/host/Host.h"

namespace {
std::atomic<uint32_t> virtualNow{0};
}

namespace platform {
uint32_t TickCount() { return virtualNow.load(); }
void SleepMs(uint32_t ms) { virtualNow.fetch_add(ms); }
}  // namespace platform

namespace platform::host {
void AdvanceClock(uint32_t ms) { virtualNow.fetch_add(ms); }
void SetClock(uint32_t ms) { virtualNow.store(ms); }
}  // namespace platform::host
