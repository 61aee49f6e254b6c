#include "platform/host/Host.h"
#include "platform/host/HostDeviceIo.h"
#include "platform/host/HostFileDialog.h"
#include "platform/host/HostLocale.h"
#include "platform/host/HostLoop.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostSystemInfo.h"
#include "platform/host/HostShell.h"

namespace platform::host {

void Reset()
{
    SetClock(0);
    SetSystemDirectory("C:\\windows\\system32");
    TakeMessages();
    ClearRegistry();
    SetUserLanguageId(0x0409);
    SetDecimalSeparator('.');
    ClearPostedTasks();
    ResetDevices();
    SetSaveDialogScript(nullptr);
    ResetSystemInfo();
    ResetShell();
}

}  // namespace platform::host
