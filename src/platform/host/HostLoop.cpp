// The native main loop: a task queue guarded for other threads, and timers with their due
// tick on the virtual clock. Timers are main-thread objects, so only the queue is locked.
#include "platform/host/HostLoop.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/MainLoop.h"
#include "platform/Time.h"
#include "platform/host/DueTimers.h"
#include "platform/host/Host.h"

namespace {

std::mutex queueLock;
std::condition_variable queueChanged;
std::deque<platform::Task> tasks;
int runningThreads = 0;

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

// A worker runs, or posted something since the queue was last emptied. Both are read in one
// step: a worker's end queues its task and stops counting at once, so a check of the count
// alone, after the queue was found empty, could miss that end and see nothing left to do.
bool WorkersOrTasksPending()
{
    std::lock_guard<std::mutex> guard(queueLock);
    return runningThreads > 0 || !tasks.empty();
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
    if (RunPostedTasks() || platform::host::FireDueTimer()) return true;
    if (Until(limit) <= 0) return false;
    if (WorkersOrTasksPending()) {
        WaitForWorkers();
        return true;
    }
    int32_t wait = 0;
    if (!platform::host::NextTimerDue(wait)) return false;
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
