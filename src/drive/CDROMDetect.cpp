// The drive's speed table: from a built-in table, by probing the drive with SET CD SPEED, or from
// a stored speed-table text.
#include <algorithm>

#include "drive/CDROM.h"
#include "drive/SpeedTables.h"

namespace {

// Requests between two probes of the coarse scan, in KB/s.
constexpr int32_t kProbeStep = 17;
// SET CD SPEED carries 16 bits of KB/s.
constexpr int32_t kLargestRequest = 0xFFFF;
constexpr size_t kTextGroupLength = 12;

int32_t Percent(int32_t part, int32_t whole) { return std::clamp(part * 100 / whole, 0, 100); }

}  // namespace

bool TCDROM::DetectSpeedSteps(bool useBuiltIn, bool scanDown)
{
    AssertExists();
    DetectionProgress = 0;
    SpeedZones->Clear();
    SpeedTableValid = false;
    if (Family == FamilyMmc) {
        std::string builtIn;
        if (useBuiltIn && FindBuiltInSpeedTable(Model, Revision(), builtIn)) LoadSpeedTable(builtIn);
        if (!SpeedTableValid) {
            TestUnitReady();
            const int32_t current = CurrentReadSpeed();
            const int32_t maximum = MaxReadSpeed();
            if (current >= 1 && maximum >= 1) {
                // A maximum near 0xFFFF would push the scan past the 16-bit request field.
                const int32_t limit = std::min(maximum * 120 / 100, kLargestRequest);
                if (scanDown) ScanDown(limit);
                else ScanUp(limit);
                SpeedTableValid = SpeedZones->Count() > 0;
                SendSetCDSpeed(current);
            }
        }
    }
    DetectionProgress = 100;
    return SpeedTableValid;
}

// Records for each step the lowest request that still selects it.
void TCDROM::ScanDown(int32_t limit)
{
    int32_t hi = limit;
    SendSetCDSpeed(hi);
    int32_t reported = CurrentReadSpeed();
    for (int32_t v = hi - kProbeStep; v > 0;) {
        SendSetCDSpeed(v);
        const int32_t next = CurrentReadSpeed();
        if (next != reported && next != -1 && reported != -1) {
            for (int32_t k = hi - 1; k >= v; --k) {
                SendSetCDSpeed(k);
                const int32_t reading = CurrentReadSpeed();
                if (reading != -1 && reading != reported) {
                    SpeedZones->Add(std::max(k + 1, reported) / 176, k + 1, reported);
                    break;
                }
            }
        }
        hi = v;
        v -= kProbeStep;
        reported = next;
        DetectionProgress = Percent(limit - v, limit);
    }
    if (reported != -1) SpeedZones->Add(reported / 176, std::max(hi, reported), reported);
}

// Records for each step the highest request that still selects it.
void TCDROM::ScanUp(int32_t limit)
{
    int32_t lo = FactorToKBps(1);
    SendSetCDSpeed(lo);
    int32_t reported = CurrentReadSpeed();
    for (int32_t v = lo + kProbeStep; v <= limit;) {
        SendSetCDSpeed(v);
        const int32_t next = CurrentReadSpeed();
        if (next != reported && next != -1 && reported != -1) {
            for (int32_t k = lo + 1; k <= v; ++k) {
                SendSetCDSpeed(k);
                const int32_t reading = CurrentReadSpeed();
                if (reading != -1 && reading != reported) {
                    SpeedZones->Add(std::min(k - 1, reported) / 176, k - 1, reported);
                    break;
                }
            }
        }
        lo = v;
        v += kProbeStep;
        reported = next;
        DetectionProgress = Percent(v, limit);
    }
    if (reported != -1) SpeedZones->Add(reported / 176, std::min(lo, reported), reported);
}

bool TCDROM::LoadSpeedTable(const std::string& text)
{
    // A stored text of the wrong length is refused rather than half read.
    if (text.size() % kTextGroupLength != 0) {
        ClearSpeedTable();
        return false;
    }
    SpeedTableValid = SpeedZones->LoadFromText(text);
    return SpeedTableValid;
}

std::string TCDROM::SpeedTableText() const { return SpeedZones->SaveToText(); }

void TCDROM::ClearSpeedTable()
{
    SpeedTableValid = false;
    SpeedZones->Clear();
}
