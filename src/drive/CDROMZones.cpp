// The speed step a drive runs at, normalised to the step's nominal factor, with its zone texts.
#include "drive/CDROM.h"
#include "drive/CDROMCommands.h"
#include "drive/ZoneTables.h"
#include "transport/ScsiCodes.h"

int32_t TCDROM::CurrentSpeedStep()
{
    AssertExists();
    ZoneDescription.clear();
    DaeZoneDescription.clear();
    int speedValue = -1;
    if (Family == FamilyMmc || Family == FamilyNec) {
        const int32_t kbps = CurrentReadSpeed();
        if (kbps == -1) return -1;
        speedValue = SpeedTableValid ? SpeedZones->FactorOfReportedSpeed(kbps) : KBpsToFactor(kbps);
    } else {
        const ZoneCodeSource source = ZoneCodeLocation(Family);
        if (source.page == 0) return -1;
        const int code = GetModeByte(kCurrentValues, uint8_t(source.page), source.byte);
        // A failed read still names a step for some models.
        if (code >= 0) speedValue = code & source.mask;
    }
    const ZoneStep step = LookupZone(Family, Model, speedValue);
    ZoneDescription = step.dataText;
    DaeZoneDescription = step.daeText;
    return step.factor;
}
