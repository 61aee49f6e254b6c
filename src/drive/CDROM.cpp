// Identification of a drive: device type, drive database, capabilities page and the family
// fallbacks; the capacity commands.
#include <array>

#include "drive/CDROM.h"
#include "drive/CDROMCommands.h"
#include "drive/DriveDatabase.h"
#include "platform/Assert.h"
#include "transport/ScsiCodes.h"
#include "transport/Text.h"

namespace {

constexpr uint8_t kTypeWriteOnce = 4;
constexpr uint8_t kTypeCdRom = 5;

std::array<uint8_t, 10> ReadCapacityCdb(uint8_t lun)
{
    return {kReadCapacity, uint8_t(lun << 5), 0, 0, 0, 0, 0, 0, 0, 0};
}

bool SendReadCapacity(TCDROM& drive, std::array<uint8_t, 8>& reply)
{
    const auto cdb = ReadCapacityCdb(drive.Lun());
    return drive.ExecSCSICmd(cdb.data(), cdb.size(), reply.data(), reply.size(), DataDirection::In, true, 0);
}

}  // namespace

TCDROM::TCDROM(uint8_t haId, uint8_t targetId, uint8_t lun, int32_t timeout)
    : TTarget(haId, targetId, lun, timeout), SpeedZones(std::make_unique<TSpeedZoneInfo>())
{
    if (!Initialised()) return;
    if (DeviceType() != kTypeWriteOnce && DeviceType() != kTypeCdRom) return;
    Exists = true;
    // The first commands after a reset may meet a pending unit attention.
    TestUnitReady();
    TestUnitReady();

    const DriveInquiry inquiry{Vendor(), Product(), Revision(), VendorSpecific()};
    const DriveMatch match = MatchDriveDatabase(inquiry, [this] { return KBpsToFactor(MaxReadSpeed()); });
    Family = uint8_t(match.family);
    Model = uint8_t(match.model);
    AcceptSlowTopStep = match.acceptSlowTopStep;
    C2Supported = match.c2Supported;
    if (match.xm5701Command) {
        const int old = GetModeByte(kCurrentValues, kPageToshibaSpeed, 2);
        if (old >= 0) SetModeByte(true, kPageToshibaSpeed, 2, uint8_t(Xm5701SpeedPageByte(old)));
    }

    TModeParameterList caps;
    if (ModeSense(kPageCapabilities, caps, kCurrentValues)) {
        if (Family == FamilyUnknown) Family = FamilyMmc;
        if (PageHolds(caps, kPageCapabilities, 3)) IsWriter = (PageValue(caps, kPageCapabilities, 3) & 0x01) != 0;
        if (PageHolds(caps, kPageCapabilities, 5)) {
            const int b5 = PageValue(caps, kPageCapabilities, 5);
            C2Pointers = (b5 & 0x10) != 0;
            if (C2Pointers) C2Supported = true;
            CddaCommands = (b5 & 0x01) != 0;
            CddaStreamAccurate = (b5 & 0x02) != 0;
        }
        BufferSizeKB = PageBe16(caps, kPageCapabilities, 12);
    }

    if (Family == FamilyUnknown) {
        Family = FamilyCdda12;
        if (Vendor() == "TOSHIBA ") Family = FamilyToshiba;
        if (Vendor() == "NEC     ") Family = FamilyNec;
    }
}

TCDROM::~TCDROM()
{
    SpeedZones.reset();
    Exists = false;
}

void TCDROM::AssertExists() const { KALMOR_ASSERT(Exists, "CDROMTargets", "exists"); }

std::string TCDROM::FamilyName() const { return ::FamilyName(Family); }

std::string TCDROM::ModelName() const { return ::ModelName(Model, Family); }

int32_t TCDROM::ReadCapacity()
{
    AssertExists();
    std::array<uint8_t, 8> reply{};
    if (!SendReadCapacity(*this, reply)) return -1;
    return int32_t(getBe32(reply.data()));
}

std::string TCDROM::ReadCapacityText()
{
    AssertExists();
    std::array<uint8_t, 8> reply{};
    if (!SendReadCapacity(*this, reply)) return "[ERROR]";
    std::string text;
    for (uint8_t b : reply) text += IntToHex(b, 2);
    return text;
}
