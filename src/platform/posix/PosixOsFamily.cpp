#include "platform/OsFamily.h"

namespace platform {

// Linux is no Windows NT: the Windows pass-through never binds here.
bool IsWindowsNt() { return false; }

}  // namespace platform
