// kalmor daemon: placeholder until the lock tick's functions are shared.
#include "cli/Commands.h"
#include "cli/Output.h"

namespace cli {

int DaemonCommand(Session&)
{
    Complain("daemon: not built yet");
    return kExitFailed;
}

}  // namespace cli
