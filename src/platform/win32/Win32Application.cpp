#include <windows.h>

#include <atomic>

#include "platform/Application.h"
#include "platform/SingleInstance.h"

namespace {
std::atomic<bool> terminated{false};
}  // namespace

namespace platform {

bool NamedMutex::Create(const std::string& name)
{
    Close();
    HANDLE handle = ::CreateMutexA(nullptr, TRUE, name.c_str());
    if (!handle) return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(handle);
        return false;
    }
    handle_ = handle;
    return true;
}

void NamedMutex::Close()
{
    if (!handle_) return;
    ::ReleaseMutex(static_cast<HANDLE>(handle_));
    ::CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

void RunApplication()
{
    MSG message;
    while (!terminated && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void TerminateApplication()
{
    terminated = true;
    ::PostQuitMessage(0);
}

bool ApplicationTerminated() { return terminated; }

}  // namespace platform
