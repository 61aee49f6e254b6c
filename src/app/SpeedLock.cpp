#include "app/SpeedLock.h"

#include "settings/Store.h"
#include "settings/StoreKeys.h"

namespace {
constexpr int32_t kMaxDiscIdLength = 80;
}  // namespace

void ReapplyLockSpeed(int drive)
{
    TDriveSettings& d = Drives[drive];
    if (d.LockSpeed == -1) return;
    const int32_t current = d.CDROM->CurrentSpeedFactor();
    if (current != -1 && current != d.LockSpeed) d.CDROM->SetCDSpeed(d.LockSpeed);
}

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
                d.DiscID = cd.DiscIdentity(kMaxDiscIdLength).substr(0, kMaxDiscIdLength);
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

void LoadProfileAfterMediumChange(int drive)
{
    TDriveSettings& d = Drives[drive];
    if (!d.MediumChanged) return;
    d.MediumChanged = false;
    std::string profile = regnames::kDefaultProfile;
    if (d.CDInserted) {
        d.Individual = ProfileExists(drive, d.DiscID);
        if (d.Individual) profile = d.DiscID;
    }
    LoadSettings(drive, profile);
}

void MonitorDrive(int drive)
{
    ReapplyLockSpeed(drive);
    if (Drives[drive].DetectMediumChange) MediumCheck(drive);
    LoadProfileAfterMediumChange(drive);
}
