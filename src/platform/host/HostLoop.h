#pragma once
// Controls of the native main loop, for tests and tools. Tasks and timers run only when one
// of these is called, on the calling thread (the test's "main thread"). Timers run on the
// virtual clock: a tick is due Interval() ms after the timer was enabled or last fired; a
// tick that is late fires once, not once per missed period.
#include <cstdint>
#include <functional>

#include "platform/MainLoop.h"
#include "platform/host/WorkerThreads.h"

namespace platform::host {

// Runs the tasks posted so far and every timer due now; true when anything ran.
bool PumpMessages();

// Runs the loop for ms of virtual time. While worker threads run, it waits for them in real
// time (they move the clock themselves); otherwise it advances the clock from one timer tick
// to the next and finally to the end of the period.
void RunFor(uint32_t ms);

// Runs the loop as RunFor does until done() holds. False when maxMs of virtual time passed
// first, or when nothing is left that could change anything (no task, no enabled timer, no
// running worker).
bool RunUntil(const std::function<bool()>& done, uint32_t maxMs = 24u * 3600u * 1000u);

// Workers whose end has not been posted yet.
int RunningThreads();

// Drops the tasks still queued (Reset calls it; timers belong to their owners).
void ClearPostedTasks();

}  // namespace platform::host
