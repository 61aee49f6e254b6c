#include <windows.h>

#include "platform/Event.h"

namespace platform {

Event::Event(bool manualReset, bool initiallySignalled)
    : handle_(::CreateEventA(nullptr, manualReset ? TRUE : FALSE, initiallySignalled ? TRUE : FALSE, nullptr))
{
}

Event::~Event()
{
    if (handle_) ::CloseHandle(handle_);
}

void Event::set() { ::SetEvent(handle_); }
void Event::reset() { ::ResetEvent(handle_); }
bool Event::wait(uint32_t ms) { return ::WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }

void SignalEvent(EventHandle handle) { ::SetEvent(handle); }
void AsyncCompletionBegin() {}
void AsyncCompletionEnd() {}

}  // namespace platform
