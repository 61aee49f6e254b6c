#include <windows.h>

#include "platform/OsFamily.h"

namespace platform {

bool IsWindowsNt()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    return ::GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace platform
