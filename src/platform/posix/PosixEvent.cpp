// Events over a mutex and a condition variable each; waits take real time.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/Event.h"

namespace {

struct PosixEventState {
    std::mutex lock;
    std::condition_variable changed;
    bool manualReset;
    bool signalled;
};

PosixEventState* State(platform::EventHandle handle) { return static_cast<PosixEventState*>(handle); }

}  // namespace

namespace platform {

Event::Event(bool manualReset, bool initiallySignalled)
    : handle_(new PosixEventState{{}, {}, manualReset, initiallySignalled})
{
}

Event::~Event() { delete State(handle_); }

void Event::set() { SignalEvent(handle_); }

void Event::reset()
{
    std::lock_guard<std::mutex> guard(State(handle_)->lock);
    State(handle_)->signalled = false;
}

bool Event::wait(uint32_t ms)
{
    PosixEventState& state = *State(handle_);
    std::unique_lock<std::mutex> guard(state.lock);
    const auto signalled = [&] { return state.signalled; };
    if (ms == 0xFFFFFFFFu) state.changed.wait(guard, signalled);
    else if (!state.changed.wait_for(guard, std::chrono::milliseconds(ms), signalled)) return false;
    if (!state.manualReset) state.signalled = false;
    return true;
}

void SignalEvent(EventHandle handle)
{
    PosixEventState& state = *State(handle);
    std::lock_guard<std::mutex> guard(state.lock);
    state.signalled = true;
    state.changed.notify_all();
}

// Real waits block until the completion or the time-out: nothing to announce.
void AsyncCompletionBegin() {}
void AsyncCompletionEnd() {}

}  // namespace platform
