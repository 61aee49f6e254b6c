#pragma once
// A named mutex that marks a running copy of the program; a second copy finds it taken.
#include <string>

namespace platform {

class NamedMutex {
public:
    NamedMutex() = default;
    ~NamedMutex() { Close(); }
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Creates the mutex, owned by the caller. False when creating failed or a mutex of
    // that name already existed (another copy runs); nothing is kept open then.
    bool Create(const std::string& name);
    void Close();

private:
    void* handle_ = nullptr;
};

}  // namespace platform
