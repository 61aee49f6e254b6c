#include "settings/SpeedLock.h"

#include "settings/Store.h"
#include "settings/StoreKeys.h"

namespace {
constexpr int32_t kMaxDiscIdLength = 80;
}  // namespace

int32_t ReapplyLockSpeed(int drive)
{
    TDriveSettings& d = Drives[drive];
    if (d.LockSpeed == -1) return -1;
    const int32_t current = d.CDROM->CurrentSpeedFactor();
    if (current == -1 || current == d.LockSpeed) return -1;
    d.CDROM->SetCDSpeed(d.LockSpeed);
    return current;
}

std::string DiscProfileName(TCDROM& cd) { return cd.DiscIdentity(kMaxDiscIdLength).substr(0, kMaxDiscIdLength); }

void MediumCheck(int drive)
{
    TDriveSettings& d = Drives[drive];
    TCDROM& cd = *d.CDROM;
    const bool ready = cd.TestUnitReady();
    if (ready) {
        if (!d.CDInserted) {
            d.MediumChanged = true;
            d.AudioCD = false;
            d.DiscID = regnames::kDefaultProfile;
            d.Individual = false;
            if (cd.ReadTOC()) {
                d.AudioCD = (cd.GetDiscType() & 0x7F) == dtAudio;
                d.DiscID = DiscProfileName(cd);
            }
        }
        d.CDInserted = true;
        return;
    }
    if (d.CDInserted) d.MediumChanged = true;
    d.CDInserted = false;
    d.AudioCD = false;
    d.DiscID = regnames::kDefaultProfile;
    d.Individual = false;
}

std::string LoadProfileAfterMediumChange(int drive)
{
    TDriveSettings& d = Drives[drive];
    if (!d.MediumChanged) return "";
    d.MediumChanged = false;
    std::string profile = regnames::kDefaultProfile;
    if (d.CDInserted) {
        d.Individual = ProfileExists(drive, d.DiscID);
        if (d.Individual) profile = d.DiscID;
    }
    return LoadSettings(drive, profile) ? profile : "";
}

MonitorActions MonitorDrive(int drive)
{
    MonitorActions actions;
    actions.resetFrom = ReapplyLockSpeed(drive);
    if (Drives[drive].DetectMediumChange) MediumCheck(drive);
    actions.mediumChanged = Drives[drive].MediumChanged;
    actions.profile = LoadProfileAfterMediumChange(drive);
    return actions;
}
