// Native shell services: the tray icon and opened targets are recorded, the screen is what
// a test set, named mutexes live in one process-wide set, and the application's loop is the
// virtual main loop.
#include "platform/host/HostShell.h"

#include <mutex>
#include <set>

#include "platform/Application.h"
#include "platform/SingleInstance.h"
#include "platform/host/HostLoop.h"

namespace {

std::mutex lock;
std::vector<platform::host::TrayCall> trayCalls;
bool trayShown = false;
std::vector<std::string> openedTargets;
std::optional<platform::ScreenRect> workArea;
int screenWidth = 0;
int screenHeight = 0;
platform::ScreenPoint cursor;
std::multiset<std::string> mutexes;
bool terminated = false;
uint32_t timeLimit = 0;

void Defaults()
{
    trayCalls.clear();
    trayShown = false;
    openedTargets.clear();
    workArea = platform::ScreenRect{0, 0, 1024, 740};
    screenWidth = 1024;
    screenHeight = 768;
    cursor = {};
    mutexes.clear();
    terminated = false;
    timeLimit = 3600u * 1000u;
}

struct Init {
    Init() { Defaults(); }
} init;

}  // namespace

namespace platform {

bool TrayIcon(TrayAction action, const std::string& tip, TrayIconKind icon)
{
    std::lock_guard<std::mutex> guard(lock);
    trayCalls.push_back({action, tip.substr(0, 63), icon});
    bool result = true;
    if (action == TrayAction::Add) {
        result = !trayShown;
        trayShown = true;
    } else {
        result = trayShown;
        if (action == TrayAction::Delete) trayShown = false;
    }
    return result;
}

void ShellOpen(const std::string& target)
{
    std::lock_guard<std::mutex> guard(lock);
    openedTargets.push_back(target);
}

std::optional<ScreenRect> DesktopWorkArea() { return workArea; }
int ScreenWidth() { return screenWidth; }
int ScreenHeight() { return screenHeight; }
ScreenPoint CursorPos() { return cursor; }

bool NamedMutex::Create(const std::string& name)
{
    Close();
    std::lock_guard<std::mutex> guard(lock);
    if (mutexes.count(name)) return false;
    mutexes.insert(name);
    handle_ = new std::string(name);
    return true;
}

void NamedMutex::Close()
{
    if (!handle_) return;
    auto* name = static_cast<std::string*>(handle_);
    {
        std::lock_guard<std::mutex> guard(lock);
        const auto found = mutexes.find(*name);
        if (found != mutexes.end()) mutexes.erase(found);
    }
    delete name;
    handle_ = nullptr;
}

void RunApplication()
{
    host::RunUntil([] { return ApplicationTerminated(); }, timeLimit);
}

void TerminateApplication()
{
    std::lock_guard<std::mutex> guard(lock);
    terminated = true;
}

bool ApplicationTerminated()
{
    std::lock_guard<std::mutex> guard(lock);
    return terminated;
}

}  // namespace platform

namespace platform::host {

std::vector<TrayCall> TakeTrayCalls()
{
    std::lock_guard<std::mutex> guard(lock);
    std::vector<TrayCall> taken;
    taken.swap(trayCalls);
    return taken;
}

bool TrayIconShown()
{
    std::lock_guard<std::mutex> guard(lock);
    return trayShown;
}

std::vector<std::string> TakeOpenedTargets()
{
    std::lock_guard<std::mutex> guard(lock);
    std::vector<std::string> taken;
    taken.swap(openedTargets);
    return taken;
}

void SetWorkArea(std::optional<ScreenRect> area) { workArea = area; }

void SetScreenSize(int width, int height)
{
    screenWidth = width;
    screenHeight = height;
}

void SetCursorPos(ScreenPoint point) { cursor = point; }

void HoldForeignMutex(const std::string& name)
{
    std::lock_guard<std::mutex> guard(lock);
    mutexes.insert(name);
}

void SetApplicationTimeLimit(uint32_t ms) { timeLimit = ms; }

void ResetShell()
{
    std::lock_guard<std::mutex> guard(lock);
    Defaults();
}

}  // namespace platform::host
