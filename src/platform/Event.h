#pragma once
// Events with timed wait, as the ASPI manager signals the completion of an SRB.
#include <cstdint>

namespace platform {

using EventHandle = void*;

class Event {
public:
    // Auto-reset unless manualReset; unnamed.
    explicit Event(bool manualReset = false, bool initiallySignalled = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    bool valid() const { return handle_ != nullptr; }
    // The handle that goes into an SRB's post-procedure field.
    EventHandle handle() const { return handle_; }
    void set();
    void reset();
    // True when the event was signalled within ms milliseconds (0xFFFFFFFF: no limit).
    bool wait(uint32_t ms);

private:
    EventHandle handle_;
};

// Signals an event by its handle: what an ASPI manager does with the SRB's post field.
void SignalEvent(EventHandle handle);

// Completions that another thread will deliver. A native wait with nothing of this kind
// in flight times out at once on the virtual clock instead of blocking the test; the
// Win32 versions do nothing.
void AsyncCompletionBegin();
void AsyncCompletionEnd();

}  // namespace platform
