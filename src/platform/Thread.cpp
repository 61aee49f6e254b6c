#include "platform/Thread.h"

#include <exception>

namespace platform {

std::string Thread::FatalError() const { return finished_ ? fatalError_ : std::string(); }

// The body of every worker: an exception that escapes Execute must not end the program; the
// end is delivered all the same, and FatalError tells what happened.
void Thread::Run()
{
    try {
        Execute();
    } catch (const std::exception& error) {
        fatalError_ = error.what();
    } catch (...) {
        fatalError_ = "unknown exception";
    }
    finished_ = true;
    Ended();
}

}  // namespace platform
