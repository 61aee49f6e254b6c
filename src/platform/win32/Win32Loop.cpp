// The Win32 main loop: a hidden message-only window of the main thread receives the posted
// tasks and the WM_TIMER ticks, so any message loop of that thread (modal ones included)
// runs them. The window is made by the first timer or thread, both created on the main thread.
#include <windows.h>

#include <map>
#include <memory>
#include <mutex>

#include "platform/MainLoop.h"

namespace {

constexpr UINT kRunTask = WM_APP + 1;

std::mutex windowLock;
HWND loopWindow = nullptr;
std::map<UINT_PTR, platform::Timer*> timersById;
std::map<platform::Timer*, UINT_PTR> idsByTimer;
UINT_PTR nextTimerId = 1;

LRESULT CALLBACK LoopWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunTask) {
        std::unique_ptr<platform::Task> task(reinterpret_cast<platform::Task*>(lParam));
        (*task)();
        return 0;
    }
    if (message == WM_TIMER) {
        const auto found = timersById.find(wParam);
        if (found != timersById.end()) found->second->Fire();
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

namespace platform {

// The loop's window; made on first use, which must be on the main thread.
HWND MainLoopWindow()
{
    std::lock_guard<std::mutex> guard(windowLock);
    if (!loopWindow) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = LoopWindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KalmorMainLoop";
        ::RegisterClassA(&windowClass);
        loopWindow = ::CreateWindowExA(0, "KalmorMainLoop", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       windowClass.hInstance, nullptr);
    }
    return loopWindow;
}

void PostToMainThread(Task task)
{
    auto* posted = new Task(std::move(task));
    if (!::PostMessageA(MainLoopWindow(), kRunTask, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
}

void Timer::Schedule()
{
    Unschedule();
    const UINT_PTR id = nextTimerId++;
    timersById[id] = this;
    idsByTimer[this] = id;
    ::SetTimer(MainLoopWindow(), id, interval_, nullptr);
}

void Timer::Unschedule()
{
    const auto found = idsByTimer.find(this);
    if (found == idsByTimer.end()) return;
    ::KillTimer(MainLoopWindow(), found->second);
    timersById.erase(found->second);
    idsByTimer.erase(found);
}

}  // namespace platform
