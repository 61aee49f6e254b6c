// The main loop of the Linux program: posted tasks and timers with their due tick on the
// monotonic clock. The loop sleeps in poll() on a pipe that posting a task or a stop signal
// writes to, so it wakes at once for either and otherwise at the next due timer.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <deque>
#include <map>
#include <mutex>

#include "platform/MainLoop.h"
#include "platform/Time.h"
#include "platform/posix/Posix.h"

namespace {

std::mutex queueLock;
std::deque<platform::Task> tasks;
std::map<platform::Timer*, uint32_t> dueTimers;  // main thread only
std::atomic<bool> stopRequested{false};
volatile sig_atomic_t stopSignal = 0;
int wakePipe[2] = {-1, -1};

void MakeWakePipe()
{
    static std::once_flag made;
    std::call_once(made, [] {
        if (::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe[0] = wakePipe[1] = -1;
    });
}

// Async-signal-safe: a write to a non-blocking pipe; a full pipe already wakes the loop.
void Wake()
{
    if (wakePipe[1] < 0) return;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakePipe[1], &byte, 1);
}

void Drain()
{
    char buffer[64];
    while (::read(wakePipe[0], buffer, sizeof buffer) > 0) {
    }
}

void OnStopSignal(int signal)
{
    stopSignal = signal;
    stopRequested = true;
    Wake();
}

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

// A late tick fires once, not once per period missed.
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

void WaitForWork()
{
    platform::Timer* timer = NextTimer();
    int timeout = -1;
    if (timer) timeout = std::max<int32_t>(0, Until(dueTimers[timer]));
    pollfd wake{wakePipe[0], POLLIN, 0};
    if (::poll(&wake, 1, timeout) > 0) Drain();
}

}  // namespace

namespace platform {

void PostToMainThread(Task task)
{
    MakeWakePipe();
    {
        std::lock_guard<std::mutex> guard(queueLock);
        tasks.push_back(std::move(task));
    }
    Wake();
}

void Timer::Schedule() { dueTimers[this] = TickCount() + interval_; }
void Timer::Unschedule() { dueTimers.erase(this); }

}  // namespace platform

namespace platform::posix {

bool RunLoopUntil(const std::function<bool()>& done)
{
    MakeWakePipe();
    while (!stopRequested) {
        if (done()) return true;
        if (RunPostedTasks() || FireDueTimer()) continue;
        WaitForWork();
    }
    return done();
}

void StopLoop()
{
    stopRequested = true;
    Wake();
}

void StopLoopOnSignals()
{
    MakeWakePipe();
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

int StopSignal() { return stopSignal; }

}  // namespace platform::posix
