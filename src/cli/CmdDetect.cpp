// kalmor detect DEV [--force]: the speed-step detection of the start-up, which uses the stored
// steps when they fit the disc; --force probes the drive even where a built-in table exists.
#include "cli/Commands.h"
#include "cli/Output.h"
#include "settings/Store.h"

namespace cli {

int DetectCommand(Session& session, int drive)
{
    session.Detect(drive, session.options().Flag("force"));
    TCDROM& cd = *Drives[drive].CDROM;
    Json steps = Json::Array();
    std::string text;
    for (int n = 1; DetectedSpeed(drive, n) > 0; ++n) {
        steps.Add(DetectedSpeed(drive, n));
        text += (text.empty() ? "" : " ") + FactorText(DetectedSpeed(drive, n));
    }
    if (session.Json()) {
        Print(Json::Object()
                  .Set("device", session.DeviceName(drive))
                  .Set("steps", steps)
                  .Set("speedTable", cd.SpeedTableText())
                  .Dump() +
              "\n");
    } else {
        Print(session.DeviceName(drive) + ": " + (text.empty() ? "no speed steps found" : text) + "\n");
    }
    return text.empty() ? kExitFailed : kExitOk;
}

}  // namespace cli
