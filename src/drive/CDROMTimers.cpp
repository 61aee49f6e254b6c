// Inactivity, idle and standby timers, the two Plextor features, spin-up and the probes of
// optional capabilities that the drive report prints.
#include <array>
#include <cstring>

#include "drive/CDROM.h"
#include "drive/CDROMCommands.h"
#include "transport/ScsiCodes.h"

namespace {

constexpr int kInactivityByte = 3;
constexpr int kIdleFirstByte = 4;
constexpr int kStandbyFirstByte = 8;
constexpr int kPlextorFeatureByte = 3;
constexpr uint8_t kPlextorIdleBit = 2;
constexpr uint8_t kPlextorSpeedModeBit = 0;
// Seconds from which the standby timer is written as the largest count.
constexpr int32_t kStandbyClampSeconds = 0x0CCCCCCC;
constexpr int32_t kLargestTimerSeconds = 0x7FFFFFFF / 10;

constexpr uint16_t kMechanismStatusLength = 136;
constexpr uint16_t kConfigurationLength = 1024;
constexpr uint16_t kPerformanceDescriptors = 20;
constexpr uint32_t kPerformanceLength = 328;
constexpr uint16_t kFeatureRealTimeStreaming = 0x0107;
constexpr uint16_t kFeatureCdMastering = 0x002E;
constexpr uint8_t kOneFeature = 2;  // GET CONFIGURATION request type: the named feature only

std::array<uint8_t, 12> MechanismStatusCdb()
{
    std::array<uint8_t, 12> cdb = {kMechanismStatus, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putBe16(&cdb[8], kMechanismStatusLength);
    return cdb;
}

std::array<uint8_t, 12> GetConfigurationCdb(uint16_t feature)
{
    std::array<uint8_t, 12> cdb = {kGetConfiguration, kOneFeature, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putBe16(&cdb[2], feature);
    putBe16(&cdb[7], kConfigurationLength);
    return cdb;
}

std::array<uint8_t, 12> GetPerformanceCdb()
{
    std::array<uint8_t, 12> cdb = {kGetPerformance, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putBe16(&cdb[8], kPerformanceDescriptors);
    return cdb;
}

bool IsPlextorIdleModel(uint8_t model) { return model >= ModelPx20 && model <= ModelPx40; }
bool IsPlextorSpeedModeModel(uint8_t model) { return model >= ModelPx12 && model <= ModelPx40; }

// Byte index of the page in the given page control, -1 when unavailable.
int PageByteOf(TCDROM& drive, uint8_t page, uint8_t pageControl, int index)
{
    TModeParameterList list;
    if (!drive.ModeSense(page, list, pageControl)) return -1;
    return PageValue(list, page, index);
}

// A timer of page 0x1A (four bytes from first) in whole seconds, -1 when unavailable.
int32_t TimerSeconds(TCDROM& drive, uint8_t pageControl, int first)
{
    TModeParameterList list;
    if (!drive.ModeSense(kPagePowerCondition, list, pageControl) || !PageHolds(list, kPagePowerCondition, first + 3)) {
        return -1;
    }
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(list.PageByte(kPagePowerCondition, first + i));
    return int32_t(getBe32(bytes) / 10);
}

// The changeable bits of a timer's lower three bytes, in seconds.
int32_t TimerLimit(TCDROM& drive, int first)
{
    TModeParameterList list;
    if (!drive.ModeSense(kPagePowerCondition, list, kChangeableValues) ||
        !PageHolds(list, kPagePowerCondition, first + 3)) {
        return -1;
    }
    uint8_t bytes[3];
    for (int i = 0; i < 3; ++i) bytes[i] = uint8_t(list.PageByte(kPagePowerCondition, first + 1 + i));
    return int32_t(getBe24(bytes) / 10);
}

// Writes count (100 ms units) into the timer's four bytes when the changeable mask covers it.
bool SetTimerCount(TCDROM& drive, int first, uint32_t count)
{
    TModeParameterList mask;
    if (!drive.ModeSense(kPagePowerCondition, mask, kChangeableValues) ||
        !PageHolds(mask, kPagePowerCondition, first + 3)) {
        return false;
    }
    uint8_t bytes[4];
    putBe32(bytes, count);
    for (int i = 0; i < 4; ++i) {
        const uint8_t changeable = uint8_t(mask.PageByte(kPagePowerCondition, first + i));
        if ((bytes[i] & changeable) != bytes[i]) return false;
    }
    TModeParameterList list;
    if (!drive.ModeSense(kPagePowerCondition, list, kCurrentValues) ||
        !PageHolds(list, kPagePowerCondition, first + 3) || !CanSelect(list)) {
        return false;
    }
    for (int i = 0; i < 4; ++i) list.SetPageByte(kPagePowerCondition, first + i, bytes[i]);
    return drive.ModeSelect(list, true);
}

}  // namespace

int32_t TCDROM::GetInactivity(bool useDefaults)
{
    AssertExists();
    return PageByteOf(*this, kPageCdParameters, useDefaults ? kDefaultValues : kCurrentValues, kInactivityByte);
}

int32_t TCDROM::GetInactivityMask()
{
    AssertExists();
    return PageByteOf(*this, kPageCdParameters, kChangeableValues, kInactivityByte);
}

bool TCDROM::SetInactivity(int32_t value)
{
    AssertExists();
    const int mask = PageByteOf(*this, kPageCdParameters, kChangeableValues, kInactivityByte);
    if (mask < 0 || (mask & 0x0F) == 0) return false;
    TModeParameterList list;
    if (!ModeSense(kPageCdParameters, list, kCurrentValues) || !PageHolds(list, kPageCdParameters, kInactivityByte) ||
        !CanSelect(list)) {
        return false;
    }
    const int old = list.PageByte(kPageCdParameters, kInactivityByte);
    list.SetPageByte(kPageCdParameters, kInactivityByte, uint8_t((old & 0xF0) | (value & 0x0F)));
    return ModeSelect(list, true);
}

std::string TCDROM::InactivityName(int32_t value)
{
    static const char* const kNames[16] = {
        "Standard", "125 ms", "250 ms", "500 ms", "1 Sek", "2 Sek", "4 Sek", "8 Sek",
        "16 Sek", "32 Sek", "1 Min", "2 Min", "4 Min", "8 Min", "16 Min", "32 Min",
    };
    return value >= 0 && value < 16 ? kNames[value] : "[FEHLER]";
}

int32_t TCDROM::GetIdle(bool useDefaults)
{
    AssertExists();
    return TimerSeconds(*this, useDefaults ? kDefaultValues : kCurrentValues, kIdleFirstByte);
}

int32_t TCDROM::GetIdleLimit()
{
    AssertExists();
    return TimerLimit(*this, kIdleFirstByte);
}

bool TCDROM::SetIdle(int32_t seconds)
{
    AssertExists();
    // Negative or overflowing times cannot be written; the idle timer has no clamp.
    if (seconds < 0 || seconds > kLargestTimerSeconds) return false;
    return SetTimerCount(*this, kIdleFirstByte, uint32_t(seconds) * 10);
}

int32_t TCDROM::GetStandby(bool useDefaults)
{
    AssertExists();
    return TimerSeconds(*this, useDefaults ? kDefaultValues : kCurrentValues, kStandbyFirstByte);
}

int32_t TCDROM::GetStandbyLimit()
{
    AssertExists();
    return TimerLimit(*this, kStandbyFirstByte);
}

bool TCDROM::SetStandby(int32_t seconds)
{
    AssertExists();
    if (seconds < 0) return false;
    const uint32_t count = seconds >= kStandbyClampSeconds ? 0x7FFFFFFFu : uint32_t(seconds) * 10;
    return SetTimerCount(*this, kStandbyFirstByte, count);
}

bool TCDROM::PlextorIdleSupported()
{
    AssertExists();
    return IsPlextorIdleModel(Model) &&
           GetModeBit(kChangeableValues, kPageVendorSpeed, kPlextorIdleBit, kPlextorFeatureByte) > 0;
}

bool TCDROM::GetPlextorIdle(bool& on)
{
    AssertExists();
    if (!IsPlextorIdleModel(Model)) return false;
    const int value = GetModeByte(kCurrentValues, kPageVendorSpeed, kPlextorFeatureByte);
    if (value < 0) return false;
    on = (value & (1 << kPlextorIdleBit)) == 0;
    return true;
}

bool TCDROM::SetPlextorIdle(bool on)
{
    AssertExists();
    bool current = false;
    if (!GetPlextorIdle(current) || current == on) return false;
    return SetModeBit(true, kPageVendorSpeed, kPlextorFeatureByte, kPlextorIdleBit, !on);
}

bool TCDROM::PlextorSpeedModeSupported()
{
    AssertExists();
    return IsPlextorSpeedModeModel(Model) &&
           GetModeBit(kChangeableValues, kPageVendorSpeed, kPlextorSpeedModeBit, kPlextorFeatureByte) > 0;
}

bool TCDROM::GetPlextorSpeedMode(bool& on)
{
    AssertExists();
    if (!IsPlextorSpeedModeModel(Model)) return false;
    const int value = GetModeByte(kCurrentValues, kPageVendorSpeed, kPlextorFeatureByte);
    if (value < 0) return false;
    on = (value & (1 << kPlextorSpeedModeBit)) != 0;
    return true;
}

bool TCDROM::SetPlextorSpeedMode(bool on)
{
    AssertExists();
    bool current = false;
    if (!GetPlextorSpeedMode(current) || current == on) return false;
    return SetModeBit(true, kPageVendorSpeed, kPlextorFeatureByte, kPlextorSpeedModeBit, on);
}

bool TCDROM::SpinUp()
{
    AssertExists();
    return StartStopUnit(true, false, false);
}

bool TCDROM::MechanismStatus(int32_t& state, int32_t& lba)
{
    AssertExists();
    // Wearnes drives are not asked for their mechanism status.
    if (Model == ModelWearnes) return false;
    std::array<uint8_t, kMechanismStatusLength> reply{};
    const auto cdb = MechanismStatusCdb();
    if (!ExecSCSICmd(cdb.data(), cdb.size(), reply.data(), reply.size(), DataDirection::In, true, 0)) return false;
    state = (reply[1] >> 5) & 0x07;
    lba = int32_t(getBe24(&reply[2]));
    return true;
}

bool TCDROM::RealTimeStreamingFeature()
{
    AssertExists();
    if (Family == FamilyPhilipsCdd2600) return false;
    std::array<uint8_t, kConfigurationLength> reply{};
    const auto cdb = GetConfigurationCdb(kFeatureRealTimeStreaming);
    if (!ExecSCSICmd(cdb.data(), cdb.size(), reply.data(), reply.size(), DataDirection::In, true, 0)) return false;
    return getBe32(&reply[0]) >= 8 && getBe16(&reply[8]) == kFeatureRealTimeStreaming;
}

bool TCDROM::CdMasteringFeature(uint8_t descriptor[8])
{
    AssertExists();
    if (Family == FamilyPhilipsCdd2600) return false;
    std::array<uint8_t, kConfigurationLength> reply{};
    const auto cdb = GetConfigurationCdb(kFeatureCdMastering);
    if (!ExecSCSICmd(cdb.data(), cdb.size(), reply.data(), reply.size(), DataDirection::In, true, 0)) return false;
    // The data length counts from byte 4: 12 covers the rest of the header and the 8 descriptor
    // bytes a drive sends for this feature.
    if (getBe32(&reply[0]) < 12 || getBe16(&reply[8]) != kFeatureCdMastering) return false;
    std::memcpy(descriptor, &reply[8], 8);
    return true;
}

bool TCDROM::PerformanceProbe()
{
    AssertExists();
    std::array<uint8_t, kPerformanceLength> reply{};
    const auto cdb = GetPerformanceCdb();
    if (!ExecSCSICmd(cdb.data(), cdb.size(), reply.data(), reply.size(), DataDirection::In, true, 0)) return false;
    return getBe32(&reply[0]) >= 20;
}
