// The native main loop: a task queue guarded for other threads, and timers kept with their
// due tick on the virtual clock. Timers are main-thread objects, so only the queue is locked.
#include "platform/host/HostLoop.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

#include "platform/MainLoop.h"
#include "platform/Time.h"
#include "platform/host/Host.h"

namespace {

std::mutex queueLock;
std::condition_variable queueChanged;
std::deque<platform::Task> tasks;
int runningThreads = 0;

// Due tick of every enabled timer.
std::map<platform::Timer*, uint32_t> dueTimers;

int32_t Until(uint32_t tick) { return int32_t(tick - platform::TickCount()); }

bool RunPostedTasks()
{
    std::deque<platform::Task> batch;
    {
        std::lock_guard<std::mutex> guard(queueLock);
        batch.swap(tasks);
    }
    for (auto& task : batch) task();
    return !batch.empty();
}

platform::Timer* NextTimer()
{
    platform::Timer* next = nullptr;
    for (const auto& [timer, due] : dueTimers)
        if (!next || int32_t(due - dueTimers[next]) < 0) next = timer;
    return next;
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

// Waits a little real time for a worker to post something.
void WaitForWorkers()
{
    std::unique_lock<std::mutex> guard(queueLock);
    queueChanged.wait_for(guard, std::chrono::milliseconds(1), [] { return !tasks.empty() || runningThreads == 0; });
}

// One step of the loop towards limit; false when nothing is left to do before it.
bool Step(uint32_t limit)
{
    if (RunPostedTasks() || FireDueTimer()) return true;
    if (Until(limit) <= 0) return false;
    if (platform::host::RunningThreads() > 0) {
        WaitForWorkers();
        return true;
    }
    platform::Timer* timer = NextTimer();
    if (!timer) return false;
    const int32_t wait = Until(dueTimers[timer]);
    const int32_t left = Until(limit);
    platform::host::AdvanceClock(uint32_t(wait < left ? wait : left));
    return true;
}

}  // namespace

namespace platform {

void PostToMainThread(Task task)
{
    {
        std::lock_guard<std::mutex> guard(queueLock);
        tasks.push_back(std::move(task));
    }
    queueChanged.notify_all();
}

void Timer::Schedule() { dueTimers[this] = TickCount() + interval_; }
void Timer::Unschedule() { dueTimers.erase(this); }

}  // namespace platform

namespace platform::host {

bool PumpMessages()
{
    bool ran = false;
    while (RunPostedTasks() || FireDueTimer()) ran = true;
    return ran;
}

void RunFor(uint32_t ms)
{
    const uint32_t limit = TickCount() + ms;
    while (Step(limit)) {
    }
    if (Until(limit) > 0) AdvanceClock(uint32_t(Until(limit)));
}

bool RunUntil(const std::function<bool()>& done, uint32_t maxMs)
{
    const uint32_t limit = TickCount() + maxMs;
    while (!done()) {
        if (!Step(limit)) return done();
    }
    return true;
}

int RunningThreads()
{
    std::lock_guard<std::mutex> guard(queueLock);
    return runningThreads;
}

void ClearPostedTasks()
{
    std::lock_guard<std::mutex> guard(queueLock);
    tasks.clear();
}

void ThreadStarted()
{
    std::lock_guard<std::mutex> guard(queueLock);
    ++runningThreads;
}

void ThreadEnded(Task end)
{
    {
        std::lock_guard<std::mutex> guard(queueLock);
        tasks.push_back(std::move(end));
        --runningThreads;
    }
    queueChanged.notify_all();
}

}  // namespace platform::host
