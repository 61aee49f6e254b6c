#include "platform/host/DueTimers.h"

#include <map>

#include "platform/MainLoop.h"
#include "platform/Time.h"

namespace {

std::map<platform::Timer*, uint32_t> dueTimers;

int32_t Until(uint32_t tick) { return int32_t(tick - platform::TickCount()); }

platform::Timer* NextTimer()
{
    platform::Timer* next = nullptr;
    for (const auto& [timer, due] : dueTimers)
        if (!next || int32_t(due - dueTimers[next]) < 0) next = timer;
    return next;
}

}  // namespace

namespace platform {

void Timer::Schedule() { dueTimers[this] = TickCount() + interval_; }
void Timer::Unschedule() { dueTimers.erase(this); }

}  // namespace platform

namespace platform::host {

bool NextTimerDue(int32_t& ms)
{
    platform::Timer* timer = NextTimer();
    if (!timer) return false;
    ms = Until(dueTimers[timer]);
    return true;
}

bool FireDueTimer()
{
    platform::Timer* timer = NextTimer();
    if (!timer || Until(dueTimers[timer]) > 0) return false;
    const uint32_t now = platform::TickCount();
    uint32_t next = dueTimers[timer] + timer->Interval();
    if (int32_t(next - now) <= 0) next = now + timer->Interval();
    dueTimers[timer] = next;
    timer->Fire();
    return true;
}

}  // namespace platform::host
