// Read and write speeds from the capabilities page, SET CD SPEED, the family speed commands and
// the maximum speed factor.
#include <array>

#include "drive/CDROM.h"
#include "drive/CDROMCommands.h"
#include "drive/SpeedCodes.h"
#include "platform/Assert.h"
#include "platform/MessageBox.h"
#include "transport/ScsiCodes.h"
#include "transport/Text.h"

namespace {

constexpr uint32_t kAnySpeed = 0xFFFF;  // SET CD SPEED: the drive's fastest

std::array<uint8_t, 12> SetCdSpeedCdb(uint8_t lun, uint32_t readKBps, uint32_t writeKBps)
{
    std::array<uint8_t, 12> cdb = {kSetCdSpeed, uint8_t(lun << 5), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putBe16(&cdb[2], readKBps);
    putBe16(&cdb[4], writeKBps);
    return cdb;
}

// Big-endian speed at byte index of page 0x2A in the given page control, -1 when unavailable.
int CapabilitiesSpeed(TCDROM& drive, uint8_t pageControl, int index)
{
    TModeParameterList list;
    if (!drive.ModeSense(kPageCapabilities, list, pageControl)) return -1;
    return PageBe16(list, kPageCapabilities, index);
}

}  // namespace

int32_t TCDROM::CurrentReadSpeed()
{
    AssertExists();
    return CapabilitiesSpeed(*this, kCurrentValues, 14);
}

int32_t TCDROM::CurrentWriteSpeed()
{
    AssertExists();
    return CapabilitiesSpeed(*this, kCurrentValues, 20);
}

int32_t TCDROM::MaxReadSpeed()
{
    AssertExists();
    return CapabilitiesSpeed(*this, kDefaultValues, 8);
}

void TCDROM::ForgetSpeedInfo()
{
    ZoneDescription.clear();
    MaxSpeedCache = -1;
}

bool TCDROM::SendSetCDSpeed(int32_t kbps)
{
    AssertExists();
    KALMOR_ASSERT(kbps >= 0, "CDROMTargets", "SetCDSpeed: speed < 0");
    uint32_t writeKBps = kAnySpeed;
    if (IsWriter) {
        const int32_t current = CurrentWriteSpeed();
        if (current >= 1) writeKBps = uint32_t(current);
    }
    // The field holds 16 bits; anything above is the fastest speed, not a wrapped slow one.
    const uint32_t readKBps = kbps > int32_t(kAnySpeed) ? kAnySpeed : uint32_t(kbps);
    const auto cdb = SetCdSpeedCdb(Lun(), readKBps, writeKBps);
    return ExecSCSICmd(cdb.data(), cdb.size(), nullptr, 0, DataDirection::None, true, 0);
}

bool TCDROM::SetCDSpeed(int32_t factor)
{
    AssertExists();
    if (factor < 1 || factor > 255) {
        platform::ShowMessage(platform::MessageKind::Error, "SetCDSpeed(" + TrimSpaces(Product()) +
                                                                "): illegal parameter (" + std::to_string(factor) + ")");
        return false;
    }
    const int code = SpeedCode(Family, Model, factor);
    switch (Family) {
    case FamilyCdda12:
    case FamilyTeacScsi:
    case FamilyPlextor:
        if (code < 0) return false;
        return SetModeByte(true, kPageVendorSpeed, 2, uint8_t(code)) == code;
    case FamilyMmc:
    case FamilyNec: {
        if (!SpeedTableValid) return SendSetCDSpeed(FactorToKBps(factor));
        const int kbps = SpeedZones->LookupSetSpeed(factor);
        return kbps >= 0 && SendSetCDSpeed(kbps);
    }
    case FamilyToshiba: {
        if (code < 0) return false;
        const int old = GetModeByte(kCurrentValues, kPageToshibaSpeed, 2);
        if (old < 0) return false;
        const uint8_t value = uint8_t((old & 0xF0) | code);
        return SetModeByte(true, kPageToshibaSpeed, 2, value) == value;
    }
    case FamilyPhilipsCdd2000:
    case FamilyPhilipsCdd2600: {
        KALMOR_ASSERT(code >= 0 && code < 8, "CDROMTargets", "SetCDSpeed: code < 8");
        const int index = Family == FamilyPhilipsCdd2000 ? 2 : 4;
        return SetModeByte(true, kPagePhilipsSpeed, index, uint8_t(code)) == code;
    }
    case FamilyMatshita:
        return SetModeByte(true, kPageToshibaSpeed, 2, uint8_t(factor)) != -1;
    default:
        return false;
    }
}

int32_t TCDROM::MaxSpeedFactor()
{
    AssertExists();
    if (MaxSpeedCache != -1) return MaxSpeedCache;
    switch (Family) {
    case FamilyMmc:
    case FamilyNec: MaxSpeedCache = KBpsToFactor(MaxReadSpeed()); break;
    case FamilyMatshita: MaxSpeedCache = ProbeMatshitaMaximum(); break;
    default: MaxSpeedCache = TableMaxSpeedFactor(Family, Model); break;
    }
    return MaxSpeedCache;
}

// Every code the drive accepts is tried; the highest it then reports is its maximum. Leaves the
// drive at the speed of the last accepted write.
int32_t TCDROM::ProbeMatshitaMaximum()
{
    int32_t maximum = GetModeByte(kCurrentValues, kPageToshibaSpeed, 2);
    for (int v = 0; v <= 255; ++v) {
        if (SetModeByte(true, kPageToshibaSpeed, 2, uint8_t(v)) == -1) continue;
        const int kept = GetModeByte(kCurrentValues, kPageToshibaSpeed, 2);
        if (kept != -1 && kept > maximum) maximum = kept;
    }
    return maximum;
}
