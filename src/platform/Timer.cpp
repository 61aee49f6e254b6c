#include "platform/MainLoop.h"

namespace platform {

Timer::Timer(uint32_t intervalMs) : interval_(intervalMs) {}

Timer::~Timer()
{
    *alive_ = false;
    if (enabled_) Unschedule();
}

void Timer::SetInterval(uint32_t ms)
{
    interval_ = ms;
    if (enabled_) Schedule();
}

void Timer::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_ && interval_ > 0)
        Schedule();
    else
        Unschedule();
}

void Timer::Fire()
{
    if (!enabled_ || firing_ || !OnTimer) return;
    const std::shared_ptr<bool> alive = alive_;
    firing_ = true;
    const std::function<void()> handler = OnTimer;  // the handler may delete this timer
    handler();
    if (*alive) firing_ = false;
}

}  // namespace platform
