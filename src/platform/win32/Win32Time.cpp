#include <windows.h>

#include "platform/Time.h"

namespace platform {
uint32_t TickCount() { return ::GetTickCount(); }
void SleepMs(uint32_t ms) { ::Sleep(ms); }
}  // namespace platform
