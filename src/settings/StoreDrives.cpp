// The global drive table and its building from the SCSI targets.
#include "platform/Assert.h"
#include "settings/Store.h"
#include "settings/StoreInternal.h"
#include "transport/AspiManager.h"
#include "transport/Text.h"

TDriveSettings Drives[kMaxDrives];
uint8_t numDrives = 0;
int32_t drv = 0;
bool DebugMode = false;
uint8_t StartMode = 3;
bool StartedByWindows = false;
bool InactivityOption = false;
int32_t TeacEepromDrive = -1;

namespace {

constexpr uint8_t kTargetIds = 8;

void RemoveFirst(std::string& text, const std::string& part)
{
    const size_t at = text.find(part);
    if (at != std::string::npos) text.erase(at, part.size());
}

void FillRecord(TDriveSettings& d, std::unique_ptr<TCDROM> cdrom)
{
    d = TDriveSettings();
    d.CDROM = std::move(cdrom);
    TCDROM& cd = *d.CDROM;
    d.DriveName = MakeDriveName(cd.Vendor(), cd.Product());

    d.Idle = cd.GetIdle(false);
    d.IdleMax = cd.GetIdleLimit();
    d.HasIdleTimer = d.Idle != -1;
    d.HasPlextorIdle = cd.PlextorIdleSupported();
    if (d.HasPlextorIdle) cd.GetPlextorIdle(d.PlextorIdle);
    d.HasPlextorGameMode = cd.PlextorSpeedModeSupported();
    if (d.HasPlextorGameMode) cd.GetPlextorSpeedMode(d.PlextorGameMode);

    d.StandBy = cd.GetStandby(false);
    d.StandbyMax = cd.GetStandbyLimit();
    d.HasStandbyTimer = d.StandBy != -1 && !InactivityOption;

    d.Inactivity = cd.GetInactivity(false);
    d.HasInactivity = d.Inactivity != -1 && !d.HasStandbyTimer;
    d.InactivityFixed = cd.GetInactivityMask() < 1;

    d.DiscID = regnames::kDefaultProfile;
}

}  // namespace

TDriveSettings& DriveRecord(int drive)
{
    KALMOR_ASSERT(drive >= 0 && drive < numDrives, "", "drive index");
    return Drives[drive];
}

std::string MakeDriveName(const std::string& vendor, const std::string& product)
{
    std::string name = TrimSpaces(vendor) + " " + TrimSpaces(product);
    RemoveFirst(name, "CD-ROM ");
    RemoveFirst(name, "DVD-ROM ");
    RemoveFirst(name, "CD-R ");
    return name;
}

void BuildDriveList()
{
    for (uint8_t ha = 0; ha < HostAdaptorCount(); ++ha) {
        for (uint8_t target = 0; target < kTargetIds; ++target) {
            if (numDrives >= kMaxDrives) return;
            auto cdrom = std::make_unique<TCDROM>(ha, target, 0, 0);
            if (!cdrom->Exists) continue;
            FillRecord(Drives[numDrives], std::move(cdrom));
            // The last TEAC drive found is the one the TEAC window writes.
            if (Drives[numDrives].CDROM->IsTeacEEPROMDrive()) TeacEepromDrive = numDrives;
            ++numDrives;
        }
    }
}

void FreeDriveList()
{
    while (numDrives > 0) {
        --numDrives;
        Drives[numDrives] = TDriveSettings();
    }
    // The index would otherwise name a freed record, or another drive after a rebuild.
    TeacEepromDrive = -1;
}
