#pragma once
// What a native main loop does for the std::thread worker body: each native body (the test
// double and the Linux program's) defines both.
#include "platform/MainLoop.h"

namespace platform::host {

// A worker starts.
void ThreadStarted();
// A worker's end is posted to the main thread. The test double stops counting the worker in
// the same step, so that a pump sees either the running worker or its queued end.
void ThreadEnded(Task end);

}  // namespace platform::host
