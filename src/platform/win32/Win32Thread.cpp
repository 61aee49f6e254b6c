// Win32 worker threads (_beginthreadex, so the C runtime is set up for them); the end is
// posted to the main loop's window.
#include <windows.h>
#include <process.h>

#include "platform/MainLoop.h"
#include "platform/Thread.h"

namespace platform {

HWND MainLoopWindow();

struct Thread::Impl {
    HANDLE handle = nullptr;
    unsigned id = 0;
    ThreadPriority priority = ThreadPriority::Normal;
};

struct ThreadAccess {
    static void Run(Thread& thread) { thread.Run(); }
};

namespace {
unsigned __stdcall ThreadEntry(void* thread)
{
    ThreadAccess::Run(*static_cast<Thread*>(thread));
    return 0;
}
}  // namespace

Thread::Thread() : impl_(std::make_unique<Impl>()) {}

Thread::~Thread()
{
    *alive_ = false;
    if (impl_->handle) {
        Terminate();
        ::WaitForSingleObject(impl_->handle, INFINITE);
        ::CloseHandle(impl_->handle);
    }
}

void Thread::Start()
{
    if (impl_->handle || finished_) return;
    MainLoopWindow();  // made here, on the main thread, before the worker can post
    impl_->handle = reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, ThreadEntry, this, 0, &impl_->id));
    if (impl_->handle) SetPriority(impl_->priority);
}

void Thread::SetPriority(ThreadPriority priority)
{
    impl_->priority = priority;
    if (impl_->handle)
        ::SetThreadPriority(impl_->handle,
                            priority == ThreadPriority::Highest ? THREAD_PRIORITY_HIGHEST : THREAD_PRIORITY_NORMAL);
}

void Thread::WaitFor()
{
    if (impl_->handle && impl_->id != ::GetCurrentThreadId())
        ::WaitForSingleObject(impl_->handle, INFINITE);
}

void Thread::Ended()
{
    const std::shared_ptr<bool> alive = alive_;
    PostToMainThread([this, alive] {
        if (!*alive) return;
        ::WaitForSingleObject(impl_->handle, INFINITE);
        if (OnTerminate) OnTerminate();
        if (*alive && FreeOnTerminate) delete this;
    });
}

}  // namespace platform
