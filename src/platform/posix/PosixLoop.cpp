// The main loop of the Linux program: posted tasks and timers with their due tick on the
// monotonic clock. The loop sleeps in poll() on a pipe that posting a task or a stop signal
// writes to, so it wakes at once for either and otherwise at the next due timer.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <algorithm>
#include <deque>
#include <mutex>

#include "platform/MainLoop.h"
#include "platform/host/DueTimers.h"
#include "platform/host/WorkerThreads.h"
#include "platform/posix/Posix.h"

namespace {

std::mutex queueLock;
std::deque<platform::Task> tasks;
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

void WaitForWork()
{
    int32_t due = 0;
    const int timeout = platform::host::NextTimerDue(due) ? std::max<int32_t>(0, due) : -1;
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

}  // namespace platform

namespace platform::posix {

bool RunLoopUntil(const std::function<bool()>& done)
{
    MakeWakePipe();
    while (!stopRequested) {
        if (done()) return true;
        if (RunPostedTasks() || platform::host::FireDueTimer()) continue;
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

namespace platform::host {

// Workers need no count here: the loop sleeps in poll until a task is posted.
void ThreadStarted() {}

void ThreadEnded(Task end) { PostToMainThread(std::move(end)); }

}  // namespace platform::host
