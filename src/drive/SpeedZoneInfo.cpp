#include "drive/SpeedZoneInfo.h"

#include "platform/Assert.h"
#include "transport/Text.h"

namespace {

constexpr int kGroupLength = 12;
constexpr int kFieldLength = 4;
constexpr int kLargestValue = 0xFFFF;

bool FitsText(int value) { return value >= 0 && value <= kLargestValue; }

} // namespace

int TSpeedZoneInfo::Factor(int i) const
{
    KALMOR_ASSERT(i >= 0 && i < count_, "CDROMTargets", "speed step index");
    return factor_[i];
}

int TSpeedZoneInfo::SetSpeed(int i) const
{
    KALMOR_ASSERT(i >= 0 && i < count_, "CDROMTargets", "speed step index");
    return setSpeed_[i];
}

int TSpeedZoneInfo::ReportedSpeed(int i) const
{
    KALMOR_ASSERT(i >= 0 && i < count_, "CDROMTargets", "speed step index");
    return reportedSpeed_[i];
}

bool TSpeedZoneInfo::Add(int factor, int setSpeed, int reportedSpeed)
{
    if (count_ == kCapacity) return false;
    KALMOR_ASSERT(factor != -1 && setSpeed != -1 && reportedSpeed != -1, "CDROMTargets", "");
    // A drive may report speeds the four-digit text cannot hold; such a step is not kept.
    if (!FitsText(factor) || !FitsText(setSpeed) || !FitsText(reportedSpeed)) return false;
    int at = count_;
    while (at > 0 && factor_[at - 1] < factor) {
        factor_[at] = factor_[at - 1];
        setSpeed_[at] = setSpeed_[at - 1];
        reportedSpeed_[at] = reportedSpeed_[at - 1];
        --at;
    }
    factor_[at] = factor;
    setSpeed_[at] = setSpeed;
    reportedSpeed_[at] = reportedSpeed;
    ++count_;
    return true;
}

int TSpeedZoneInfo::LookupSetSpeed(int factor) const
{
    int above = -1;
    int below = -1;
    for (int i = 0; i < count_; ++i) {
        if (factor_[i] == factor) return setSpeed_[i];
        if (factor_[i] > factor) {
            above = i;
        } else {
            below = i;
            break;
        }
    }
    if (above >= 0 && below >= 0) {
        return factor_[above] - factor < factor - factor_[below] ? setSpeed_[above] : setSpeed_[below];
    }
    if (above >= 0) return setSpeed_[above];
    if (below >= 0) return setSpeed_[below];
    return -1;
}

int TSpeedZoneInfo::FactorOfReportedSpeed(int kbps) const
{
    for (int i = 0; i < count_; ++i) {
        if (reportedSpeed_[i] <= kbps) return factor_[i];
    }
    return -1;
}

bool TSpeedZoneInfo::IsSpeedTableText(const std::string& text)
{
    if (text.size() % kGroupLength != 0) return false;
    for (size_t at = 0; at < text.size(); at += kFieldLength) {
        if (HexNumber(text.substr(at, kFieldLength)) < 0) return false;
    }
    return true;
}

bool TSpeedZoneInfo::LoadFromText(const std::string& text)
{
    KALMOR_ASSERT(text.size() % kGroupLength == 0, "CDROMTargets", "speed table text length");
    Clear();
    for (size_t at = 0; at < text.size(); at += kGroupLength) {
        const int64_t factor = HexNumber(text.substr(at, kFieldLength));
        const int64_t setSpeed = HexNumber(text.substr(at + kFieldLength, kFieldLength));
        const int64_t reportedSpeed = HexNumber(text.substr(at + 2 * kFieldLength, kFieldLength));
        // Checked before adding: a step of -1 must never reach Add.
        if (factor < 0 || setSpeed < 0 || reportedSpeed < 0) {
            Clear();
            return false;
        }
        Add(int(factor), int(setSpeed), int(reportedSpeed));
    }
    return true;
}

std::string TSpeedZoneInfo::SaveToText() const
{
    std::string text;
    for (int i = 0; i < count_; ++i) {
        text += IntToHex(uint32_t(factor_[i]), kFieldLength);
        text += IntToHex(uint32_t(setSpeed_[i]), kFieldLength);
        text += IntToHex(uint32_t(reportedSpeed_[i]), kFieldLength);
    }
    KALMOR_ASSERT(text.size() % kGroupLength == 0, "CDROMTargets", "speed table text length");
    return text;
}
