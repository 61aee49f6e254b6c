#include "cli/Profile.h"

#include "cli/Output.h"
#include "settings/SpeedLock.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"

namespace cli {

int OpenProfile(Session& session, int drive, std::string& profile)
{
    TDriveSettings& d = Drives[drive];
    TCDROM& cd = *d.CDROM;
    profile = regnames::kDefaultProfile;
    if (session.options().Flag("disc")) {
        if (!cd.TestUnitReady() || !cd.ReadTOC()) {
            Complain("no readable disc in " + session.DeviceName(drive) + ": --disc names the profile of the disc");
            return kExitFailed;
        }
        profile = DiscProfileName(cd);
        d.CDInserted = true;
        d.DiscID = profile;
        d.Individual = true;
    }
    if (ProfileExists(drive, profile)) LoadSettings(drive, profile);
    return kExitOk;
}

}  // namespace cli
