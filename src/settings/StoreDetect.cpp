// The cached speed-step detection. The per-machine drive key remembers, per disc type,
// how often a detection ran and what it and the probing found; a drive whose accepted
// steps reach its maximum speed is not examined again.
#include <algorithm>
#include <vector>

#include "platform/System.h"
#include "platform/Time.h"
#include "settings/StoreInternal.h"

using platform::RegRoot;

namespace {

// Detection runs per disc type after which a drive is no longer examined at start.
constexpr int32_t kMaxTries = 3;
// Probing starts this far above the reported maximum, in percent.
constexpr int32_t kProbeStartPercent = 120;
constexpr int32_t kHighestFactor = 255;

std::string DiscTypeForCache(TCDROM& cd)
{
    if (cd.TestUnitReady() && cd.ReadTOC()) return cd.DiscTypeText();
    return regnames::kNoDisc;
}

// A damaged text leaves the table empty, as a group that is no hexadecimal number does.
void LoadCachedTable(TCDROM& cd, const std::string& text)
{
    if (TSpeedZoneInfo::IsSpeedTableText(text)) {
        cd.LoadSpeedTable(text);
    } else {
        cd.ClearSpeedTable();
    }
}

bool SameDrive(const platform::RegKey& key, const TCDROM& cd)
{
    return key.readString(regnames::kVendorId) == cd.Vendor() && key.readString(regnames::kProductId) == cd.Product() &&
           key.readString(regnames::kRevision) == cd.Revision();
}

// "Speed_1", "Speed_2", ... up to the first gap.
int AcceptedStepCount(const platform::RegKey& key)
{
    int n = 0;
    while (key.readInteger(regnames::SpeedValue(n + 1))) ++n;
    return n;
}

// True when the cache answers for this disc type: the table is loaded.
bool UseCache(TCDROM& cd, const platform::RegKey& key, const std::string& detectionCDs, const std::string& discType)
{
    if (detectionCDs.find("[" + discType + "]") == std::string::npos) return false;
    const auto top = key.readInteger(regnames::SpeedValue(1));
    if (!top) return false;
    if (*top < cd.MaxSpeedFactor() && !cd.AcceptSlowTopStep) return false;
    if (const auto table = key.readString(regnames::kZoneInfo)) LoadCachedTable(cd, *table);
    return true;
}

void StartCacheFor(const TCDROM& cd, const std::string& driveKey)
{
    platform::DeleteKeyTree(RegRoot::CurrentUser, driveKey);
    platform::DeleteKeyTree(RegRoot::LocalMachine, driveKey);
    platform::RegKey key = platform::CreateKey(RegRoot::LocalMachine, driveKey);
    key.writeString(regnames::kVendorId, cd.Vendor());
    key.writeString(regnames::kProductId, cd.Product());
    key.writeString(regnames::kRevision, cd.Revision());
    key.writeString(regnames::kCDROMtypeStr, cd.FamilyName());
    key.writeString(regnames::kCDROMnameStr, cd.ModelName());
}

// Sets every factor from just above the maximum down to 1 and notes each distinct step the
// drive then reports. Returns the steps found, highest first.
std::vector<int32_t> ProbeSteps(TCDROM& cd, int32_t maxFactor, platform::RegKey& key, const std::string& discType)
{
    std::vector<int32_t> found;
    cd.DetectionProgress = 0;
    // A drive may report an absurd maximum; factors above 255 cannot be sent.
    const int32_t start = std::min(maxFactor * kProbeStartPercent / 100, kHighestFactor);
    int32_t s = start;
    int32_t last = -1;
    while (s >= 1) {
        const int32_t r = cd.SetCDSpeed(s) ? cd.CurrentSpeedFactor() : -1;
        if (r >= 1) {
            if (r != last) {
                found.push_back(r);
                key.writeInteger(regnames::ProbedSpeedValue(discType, int(found.size())), r);
                last = r;
            }
            s = std::min(r, s);
        }
        --s;
        cd.DetectionProgress = std::clamp((start - s) * 100 / start, 0, 100);
    }
    return found;
}

// The probed list replaces the accepted one unless that one reaches higher, or as high
// with at least as many steps.
void AcceptProbedSteps(TCDROM& cd, platform::RegKey& key, const std::vector<int32_t>& found)
{
    const auto top = key.readInteger(regnames::SpeedValue(1));
    if (top && (*top > found[0] || (*top == found[0] && AcceptedStepCount(key) >= int(found.size())))) return;
    for (int n = 1; key.readInteger(regnames::SpeedValue(n)); ++n) key.deleteValue(regnames::SpeedValue(n));
    for (size_t i = 0; i < found.size(); ++i) key.writeInteger(regnames::SpeedValue(int(i + 1)), found[i]);
    const std::string table = cd.SpeedTableText();
    if (!table.empty()) key.writeString(regnames::kZoneInfo, table);
}

// Detection with the registry bookkeeping around it; key is the open per-machine drive key.
void DetectAndProbe(TCDROM& cd, platform::RegKey& key, const std::string& discType, bool forceProbing)
{
    const std::string marker = "[" + discType + "]";
    const std::string detectionCDs = key.readString(regnames::kDetectionCDs).value_or("");
    if (detectionCDs.find(marker) == std::string::npos) key.writeString(regnames::kDetectionCDs, detectionCDs + marker);
    const std::string triesName = discType + regnames::kTries;
    auto tries = key.readInteger(triesName);
    if (!tries) {
        tries = 0;
        key.writeInteger(triesName, 0);
    }
    if (*tries >= kMaxTries) return;

    key.writeString(discType + regnames::kDateTime, platform::DateText() + " / " + platform::TimeText());
    const uint32_t detectStart = platform::TickCount();
    cd.DetectSpeedSteps(!forceProbing, true);
    key.writeInteger(discType + regnames::kDetectTicks, int32_t(platform::TickCount() - detectStart));
    const std::string table = cd.SpeedTableText();
    if (!table.empty()) key.writeString(discType + " " + regnames::kZoneInfo, table);
    key.writeInteger(triesName, *tries + 1);

    const int32_t current = cd.CurrentSpeedFactor();
    const int32_t maxFactor = cd.MaxSpeedFactor();
    if (current < 1 || maxFactor < 1) return;
    const uint32_t probeStart = platform::TickCount();
    const std::vector<int32_t> found = ProbeSteps(cd, maxFactor, key, discType);
    cd.SetCDSpeed(current);
    key.writeInteger(discType + regnames::kProbeTicks, int32_t(platform::TickCount() - probeStart));
    if (!found.empty()) AcceptProbedSteps(cd, key, found);
}

}  // namespace

void DetectSpeeds(int drive, bool forceProbing)
{
    TCDROM& cd = *DriveRecord(drive).CDROM;
    cd.DetectionProgress = 0;
    const std::string discType = DiscTypeForCache(cd);
    const std::string driveKey = DriveKeyOf(DriveRecord(drive));

    std::optional<std::string> detectionCDs;
    {
        const platform::RegKey key = platform::OpenKey(RegRoot::LocalMachine, driveKey);
        if (key.isOpen() && SameDrive(key, cd)) detectionCDs = key.readString(regnames::kDetectionCDs);
        if (detectionCDs && UseCache(cd, key, *detectionCDs, discType)) {
            cd.DetectionProgress = 100;
            return;
        }
    }
    // Another drive at this address, or no cache yet: its settings and findings go.
    if (!detectionCDs) StartCacheFor(cd, driveKey);

    platform::RegKey key = platform::OpenKey(RegRoot::LocalMachine, driveKey);
    if (key.isOpen()) {
        DetectAndProbe(cd, key, discType, forceProbing);
    } else {
        // Nothing can be cached (a per-machine tree the user may not write): the drive
        // still gets its speed table for this run.
        cd.DetectSpeedSteps(!forceProbing, true);
    }
    cd.DetectionProgress = 100;
}
