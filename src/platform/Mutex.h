#pragma once
// The lock two threads take around a shared record. std::mutex is real in both builds (the
// posix thread model of MinGW-w64 on Windows).
#include <mutex>

namespace platform {

class Mutex {
public:
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }
    bool try_lock() { return mutex_.try_lock(); }

private:
    std::mutex mutex_;
};

using MutexLock = std::lock_guard<Mutex>;

}  // namespace platform
