#include <time.h>

#include <cerrno>

#include "platform/Time.h"

namespace platform {

// The monotonic clock: unaffected by changes of the wall clock, wraps like GetTickCount.
uint32_t TickCount()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u);
}

void SleepMs(uint32_t ms)
{
    timespec left{time_t(ms / 1000), long(ms % 1000) * 1000000L};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

}  // namespace platform
