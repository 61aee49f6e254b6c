// Worker threads on std::thread; the end is posted to the main loop. Priorities are left to
// the system's scheduler: raising one needs privileges a user does not have.
#include <thread>

#include "platform/MainLoop.h"
#include "platform/Thread.h"

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
    PostToMainThread([this, alive] {
        if (!*alive) return;
        if (impl_->thread.joinable()) impl_->thread.join();
        if (OnTerminate) OnTerminate();
        if (*alive && FreeOnTerminate) delete this;
    });
}

}  // namespace platform
