#include <atomic>

#include "platform/OsFamily.h"
#include "platform/host/Host.h"

namespace {
std::atomic<bool> windowsNt = false;
}

namespace platform {

bool IsWindowsNt() { return windowsNt; }

}  // namespace platform

namespace platform::host {

void SetWindowsNt(bool nt) { windowsNt = nt; }

}  // namespace platform::host
