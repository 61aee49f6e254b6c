#pragma once
// A worker thread object: Execute runs on a new thread; when it returns, OnTerminate runs on
// the main thread through the main loop, and a thread with FreeOnTerminate then deletes
// itself. Workers never touch windows: they share a locked record with the main thread and
// their end arrives as a posted task.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// Highest is the top of the normal levels (above normal, below time-critical).
enum class ThreadPriority { Normal, Highest };

class Thread {
public:
    Thread();
    // A running thread is asked to terminate and waited for. A derived class whose Execute
    // uses its own members must be stopped (Terminate, WaitFor) before those members die.
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts Execute; a second call does nothing.
    void Start();
    void SetPriority(ThreadPriority priority);
    // Sets the terminate request that Execute polls.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // True once Execute has returned (OnTerminate may still be queued).
    bool Finished() const { return finished_; }
    // Blocks until Execute has returned; not for a thread that frees itself.
    void WaitFor();
    // The text of an exception that escaped Execute; empty when none did.
    std::string FatalError() const;

    std::function<void()> OnTerminate;
    bool FreeOnTerminate = false;

protected:
    virtual void Execute() = 0;

private:
    void Run();
    void Ended();

    struct Impl;  // the body's thread handle
    std::unique_ptr<Impl> impl_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::string fatalError_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

    friend struct ThreadAccess;
};

}  // namespace platform
