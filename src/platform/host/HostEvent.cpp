// Native events. A wait does not block on real time: when no other thread has announced
// a completion, an unsignalled wait is a time-out that moves the virtual clock.
#include <condition_variable>
#include <mutex>

#include "platform/Event.h"
#include "platform/Time.h"
#include "platform/host/Host.h"

namespace {

std::mutex lock;
std::condition_variable changed;
int asyncInFlight = 0;

struct HostEventState {
    bool manualReset;
    bool signalled;
};

}  // namespace

namespace platform {

Event::Event(bool manualReset, bool initiallySignalled)
    : handle_(new HostEventState{manualReset, initiallySignalled})
{
}

Event::~Event() { delete static_cast<HostEventState*>(handle_); }

void Event::set() { SignalEvent(handle_); }

void Event::reset()
{
    std::lock_guard<std::mutex> guard(lock);
    static_cast<HostEventState*>(handle_)->signalled = false;
}

bool Event::wait(uint32_t ms)
{
    auto* state = static_cast<HostEventState*>(handle_);
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [&] { return state->signalled || asyncInFlight == 0; });
    if (state->signalled) {
        if (!state->manualReset) state->signalled = false;
        return true;
    }
    guard.unlock();
    if (ms != 0xFFFFFFFFu) host::AdvanceClock(ms);
    return false;
}

void SignalEvent(EventHandle handle)
{
    {
        std::lock_guard<std::mutex> guard(lock);
        static_cast<HostEventState*>(handle)->signalled = true;
    }
    changed.notify_all();
}

void AsyncCompletionBegin()
{
    std::lock_guard<std::mutex> guard(lock);
    ++asyncInFlight;
}

void AsyncCompletionEnd()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        --asyncInFlight;
    }
    changed.notify_all();
}

}  // namespace platform
