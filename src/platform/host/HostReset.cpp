#include "platform/host/Host.h"

namespace platform::host {

void Reset()
{
    SetClock(0);
    SetSystemDirectory("C:\\windows\\system32");
    TakeMessages();
}

}  // namespace platform::host
