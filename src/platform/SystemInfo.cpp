#include "platform/SystemInfo.h"

namespace platform {

bool IsWindowsNt()
{
    const auto version = OsVersion();
    return version && version->platformId == 2;
}

}  // namespace platform
