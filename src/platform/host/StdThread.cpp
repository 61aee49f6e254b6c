// Worker threads of both native bodies on std::thread. The body's main loop learns of a worker
// that starts and takes its end as a posted task (WorkerThreads.h). Priorities are left to the
// system's scheduler: raising one needs privileges a user does not have.
#include <thread>

#include "platform/Thread.h"
#include "platform/host/WorkerThreads.h"

namespace platform {

struct Thread::Impl {
    std::thread thread;
};

Thread::Thread() : impl_(std::make_unique<Impl>()) {}

Thread::~Thread()
{
    *alive_ = false;
    if (impl_->thread.joinable()) {
        Terminate();
        impl_->thread.join();
    }
}

void Thread::Start()
{
    if (impl_->thread.joinable() || finished_) return;
    host::ThreadStarted();
    impl_->thread = std::thread([this] { Run(); });
}

void Thread::SetPriority(ThreadPriority) {}

void Thread::WaitFor()
{
    if (impl_->thread.joinable() && impl_->thread.get_id() != std::this_thread::get_id()) impl_->thread.join();
}

void Thread::Ended()
{
    const std::shared_ptr<bool> alive = alive_;
    host::ThreadEnded([this, alive] {
        if (!*alive) return;
        if (impl_->thread.joinable()) impl_->thread.join();
        if (OnTerminate) OnTerminate();
        if (*alive && FreeOnTerminate) delete this;
    });
}

}  // namespace platform
