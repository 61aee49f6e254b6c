// MODE SENSE and MODE SELECT on a target, and byte and bit access to one mode page.
#include <array>
#include <climits>
#include <string>

#include "platform/Assert.h"
#include "transport/Bytes.h"
#include "transport/ModeParameterList.h"
#include "transport/ScsiCodes.h"
#include "transport/Target.h"
#include "transport/Text.h"

namespace {

// MODE SENSE(10) is given up after this many failures unless it ever succeeded.
constexpr int32_t kMaxModeSense10Failures = 42;
constexpr uint8_t kPageFormat = 0x10;
constexpr uint8_t kSavePages = 0x01;
constexpr uint8_t kLastDumpedPage = 62;

void Count(int32_t& counter)
{
    if (counter < INT32_MAX) ++counter;
}

std::array<uint8_t, 10> ModeSense10Cdb(uint8_t lunBits, uint8_t pageByte, uint16_t allocation)
{
    std::array<uint8_t, 10> cdb = {kModeSense10, lunBits, pageByte, 0, 0, 0, 0, 0, 0, 0};
    putBe16(&cdb[7], allocation);
    return cdb;
}

std::array<uint8_t, 6> ModeSense6Cdb(uint8_t lunBits, uint8_t pageByte, uint8_t allocation)
{
    return {kModeSense6, lunBits, pageByte, 0, allocation, 0};
}

std::array<uint8_t, 6> ModeSelect6Cdb(uint8_t byte1, uint8_t length)
{
    return {kModeSelect6, byte1, 0, 0, length, 0};
}

std::array<uint8_t, 10> ModeSelect10Cdb(uint8_t byte1, uint16_t length)
{
    std::array<uint8_t, 10> cdb = {kModeSelect10, byte1, 0, 0, 0, 0, 0, 0, 0, 0};
    putBe16(&cdb[7], length);
    return cdb;
}

// A 6-byte answer declaring more than MODE SENSE(6) could transfer cannot go back with
// MODE SELECT(6).
bool CanWriteBack(const TModeParameterList& list)
{
    return list.Format() == MODE_SENSE_10 || list.Length() <= 255;
}

void AppendPageDump(std::string& text, const TModeParameterList& list, uint8_t pageCode, const std::string& separator)
{
    const int length = list.GetModePageLen(pageCode);
    for (int i = 0; i < length; ++i) {
        const int value = list.PageByte(pageCode, i);
        text += value < 0 ? "--" : IntToHex(uint32_t(value), 2);
        text += separator;
    }
}

}  // namespace

bool TTarget::ModeSense(uint8_t pageCode, TModeParameterList& list, uint8_t pageControl)
{
    AssertInitialised();
    KALMOR_ASSERT(pageCode <= 0x3F, "Targets", "ModeSense: pagecode > 63");
    KALMOR_ASSERT(pageControl <= 3, "Targets", "ModeSense: pagecontrol > 3");
    const uint8_t pageByte = uint8_t(pageControl << 6) | pageCode;

    bool completed10 = false;
    if (counters_.sense10Ok > 0 || counters_.sense10Failed < kMaxModeSense10Failures) {
        const uint16_t allocation = uint16_t(list.Capacity() < 65535 ? list.Capacity() : 65535);
        const auto cdb = ModeSense10Cdb(LunBits(), pageByte, allocation);
        completed10 = ExecSCSICmd(cdb.data(), cdb.size(), list.Data(), allocation, DataDirection::In, true, 0);
    }
    Count(completed10 ? counters_.sense10Ok : counters_.sense10Failed);

    if (completed10) {
        list.SetFormat(MODE_SENSE_10);
        if (list.IsValid10()) {
            Count(counters_.valid);
            return true;
        }
        Count(counters_.invalid);
        Count(list.RepairPageLength(pageCode) ? counters_.fixOk : counters_.fixFailed);
        if (!list.IsValid10()) Count(list.ConvertHeader() ? counters_.conversionOk : counters_.conversionFailed);
        if (list.IsValid10()) return true;
    }

    // A short answer must not be read together with bytes of the 10-byte attempt.
    list.Clear();
    const uint8_t allocation = uint8_t(list.Capacity() < 255 ? list.Capacity() : 255);
    const auto cdb = ModeSense6Cdb(LunBits(), pageByte, allocation);
    if (!ExecSCSICmd(cdb.data(), cdb.size(), list.Data(), allocation, DataDirection::In, true, 0)) {
        Count(counters_.sense6Failed);
        return false;
    }
    Count(counters_.sense6Ok);
    list.SetFormat(MODE_SENSE_6);
    return true;
}

bool TTarget::ModeSelect(TModeParameterList& list, bool currentOnly)
{
    AssertInitialised();
    const uint8_t format = list.Format();
    const int length = list.Length();
    KALMOR_ASSERT(length >= 1, "Targets", "ModeSelect: empty list");
    KALMOR_ASSERT(format == MODE_SENSE_10 || length <= 255, "Targets", "ModeSelect: 6-byte list longer than 255");
    list.PrepareForSelect();

    const uint8_t byte1 = LunBits() | kPageFormat | (currentOnly ? 0 : kSavePages);
    if (format == MODE_SENSE_6) {
        const auto cdb = ModeSelect6Cdb(byte1, uint8_t(length));
        return ExecSCSICmd(cdb.data(), cdb.size(), list.Data(), uint32_t(length), DataDirection::Out, true, 0);
    }
    const auto cdb = ModeSelect10Cdb(byte1, uint16_t(length));
    return ExecSCSICmd(cdb.data(), cdb.size(), list.Data(), uint32_t(length), DataDirection::Out, true, 0);
}

int TTarget::GetModeByte(uint8_t pageControl, uint8_t pageCode, int index)
{
    TModeParameterList list;
    if (!ModeSense(pageCode, list, pageControl)) return -1;
    return list.PageByte(pageCode, index);
}

int TTarget::SetModeByte(bool currentOnly, uint8_t pageCode, int index, uint8_t value)
{
    const uint8_t pageControl = currentOnly ? 0 : 3;
    TModeParameterList list;
    if (!ModeSense(pageCode, list, pageControl)) return -1;
    if (index >= list.GetModePageLen(pageCode) || !CanWriteBack(list)) return -1;
    list.SetPageByte(pageCode, index, value);
    if (!ModeSelect(list, currentOnly)) return -1;
    list.Clear();
    if (!ModeSense(pageCode, list, pageControl)) return -1;
    return list.PageByte(pageCode, index);
}

int TTarget::GetModeBit(uint8_t pageControl, uint8_t pageCode, uint8_t bit, int index)
{
    KALMOR_ASSERT(bit <= 7, "Targets", "GetModeBit: bit > 7");
    const int value = GetModeByte(pageControl, pageCode, index);
    return value < 0 ? -1 : value & (1 << bit);
}

bool TTarget::SetModeBit(bool currentOnly, uint8_t pageCode, int index, uint8_t bit, bool value)
{
    KALMOR_ASSERT(bit <= 7, "Targets", "SetModeBit: bit > 7");
    TModeParameterList list;
    if (!ModeSense(pageCode, list, currentOnly ? 0 : 3)) return false;
    const int old = list.PageByte(pageCode, index);
    // A drive may report the page shorter than the byte asked for.
    if (old < 0 || index >= list.GetModePageLen(pageCode) || !CanWriteBack(list)) return false;
    uint8_t updated = uint8_t(old & ~(1 << bit));
    if (value) updated |= uint8_t(1 << bit);
    list.SetPageByte(pageCode, index, updated);
    return ModeSelect(list, currentOnly);
}

std::string TTarget::ModePageDump(uint8_t pageCode, uint8_t pageControl, const std::string& prefix,
                                  const std::string& separator)
{
    TModeParameterList list;
    if (!ModeSense(pageCode, list, pageControl)) return "";
    std::string text;
    if (pageCode == kAllModePages) {
        for (uint8_t page = 0; page <= kLastDumpedPage; ++page) AppendPageDump(text, list, page, separator);
    } else {
        AppendPageDump(text, list, pageCode, separator);
    }
    return text.empty() ? text : prefix + text;
}

std::string TTarget::SenseStatistics() const
{
    AssertInitialised();
    const ModeSenseCounters& c = counters_;
    auto pair = [](int32_t a, int32_t b) { return std::to_string(a) + "/" + std::to_string(b); };
    return pair(c.sense10Ok, c.sense10Failed) + " - " + pair(c.valid, c.invalid) + " - " + pair(c.fixOk, c.fixFailed) +
           " - " + pair(c.conversionOk, c.conversionFailed) + " - " + pair(c.sense6Ok, c.sense6Failed);
}
