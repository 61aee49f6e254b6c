#pragma once
// The main thread's message loop: tasks posted from any thread and timers, both run on the
// main thread. Win32 drives them with a hidden window's messages (any message loop of the
// main thread, modal ones included, runs them); the native body runs them on the virtual
// clock when a test or tool pumps (platform/host/HostLoop.h).
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

using Task = std::function<void()>;

// Queues task behind the messages already waiting; any thread may call it.
void PostToMainThread(Task task);

// A periodic timer of the main thread, like a form's timer component: it fires OnTimer every
// Interval() ms while enabled. A handler still running is not entered again by its own timer
// (a message box inside the handler does not stack up ticks).
class Timer {
public:
    explicit Timer(uint32_t intervalMs = 1000);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Both restart the period when the timer is enabled.
    void SetInterval(uint32_t ms);
    void SetEnabled(bool enabled);
    uint32_t Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }

    std::function<void()> OnTimer;

    // For the bodies: runs OnTimer unless it is already running.
    void Fire();

private:
    void Schedule();
    void Unschedule();

    uint32_t interval_;
    bool enabled_ = false;
    bool firing_ = false;
    // Lets a timer be deleted from inside its own handler.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace platform
