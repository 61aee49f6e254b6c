// kalmor info DEV: what the drive is, what it can do and how it is set.
#include "cli/Commands.h"
#include "cli/Output.h"
#include "platform/Registry.h"
#include "settings/Language.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"
#include "transport/Text.h"

namespace cli {

namespace {

constexpr int32_t kFastest = 0xFFFF;

std::string YesNo(bool value) { return value ? "yes" : "no"; }

std::vector<int32_t> DetectedSteps(int drive)
{
    std::vector<int32_t> steps;
    for (int n = 1; DetectedSpeed(drive, n) > 0; ++n) steps.push_back(DetectedSpeed(drive, n));
    return steps;
}

// The lock stored in the drive's "Default" profile, as the daemon will keep it: -1 none.
int32_t StoredLock(const TCDROM& cd)
{
    const platform::RegKey key = platform::OpenKey(
        platform::RegRoot::CurrentUser, regnames::ProfileKey(cd.HaId(), cd.TargetId(), regnames::kDefaultProfile));
    return key.readInteger(regnames::kLockSpeed).value_or(-1);
}

// Whether an MMC drive changes its speed for SET CD SPEED: asked for the other end of its range,
// then set back to the speed it reported.
std::string SetCdSpeedTaken(TCDROM& cd)
{
    if (cd.Family != FamilyMmc) return "";
    const int32_t before = cd.CurrentReadSpeed();
    if (before < 1) return "unknown (the drive does not report its speed)";
    const int32_t other = before >= cd.MaxReadSpeed() ? FactorToKBps(1) : kFastest;
    if (!cd.SendSetCDSpeed(other)) return "refused: set the speed with speed --streaming";
    const int32_t after = cd.CurrentReadSpeed();
    cd.SendSetCDSpeed(before);
    return after != before ? "taken" : "ignored (the drive keeps its speed): set it with speed --streaming";
}

std::string Seconds(int32_t value, int32_t limit)
{
    if (value < 0) return "-";
    return std::to_string(value) + " s" + (limit >= 0 ? " (at most " + std::to_string(limit) + " s)" : "");
}

}  // namespace

int InfoCommand(Session& session, int drive)
{
    session.Detect(drive, false);
    TDriveSettings& d = Drives[drive];
    TCDROM& cd = *d.CDROM;
    const int32_t speed = cd.CurrentSpeedStep();
    const std::string zone = cd.ZoneDescription, daeZone = cd.DaeZoneDescription;
    const int32_t maximum = cd.MaxSpeedFactor();
    const std::vector<int32_t> steps = DetectedSteps(drive);
    const std::string setCdSpeed = SetCdSpeedTaken(cd);
    const bool disc = cd.TestUnitReady() && cd.ReadTOC();
    const std::string discText = disc ? cd.DiscIdentity(80) : "none";
    const int32_t lock = StoredLock(cd);
    const int32_t standby = d.HasStandbyTimer ? cd.GetStandby(false) : -1;
    const int32_t inactivity = d.HasInactivity ? cd.GetInactivity(false) : -1;
    const int32_t idle = d.HasIdleTimer ? cd.GetIdle(false) : -1;

    if (session.Json()) {
        Json stepList = Json::Array();
        for (const int32_t step : steps) stepList.Add(step);
        Json info = Json::Object();
        info.Set("device", session.DeviceName(drive))
            .Set("adapter", cd.HostAdaptorName())
            .Set("vendor", TrimSpaces(cd.Vendor()))
            .Set("product", TrimSpaces(cd.Product()))
            .Set("revision", TrimSpaces(cd.Revision()))
            .Set("vendorSpecific", cd.VendorSpecific())
            .Set("name", d.DriveName)
            .Set("family", cd.FamilyName())
            .Set("model", cd.ModelName())
            .Set("capabilities", Json::Object()
                                     .Set("writer", cd.IsWriter)
                                     .Set("c2Pointers", cd.C2Pointers)
                                     .Set("cddaCommands", cd.CddaCommands)
                                     .Set("streamAccurate", cd.CddaStreamAccurate)
                                     .Set("bufferKB", cd.BufferSizeKB)
                                     .Set("plextorIdle", d.HasPlextorIdle)
                                     .Set("plextorGameMode", d.HasPlextorGameMode))
            .Set("speed", speed)
            .Set("zone", zone)
            .Set("daeZone", daeZone)
            .Set("maxSpeed", maximum)
            .Set("steps", stepList)
            .Set("speedTable", cd.SpeedTableText())
            .Set("disc", disc ? Json(cd.DiscIdentity(80)) : Json())
            .Set("lock", lock)
            .Set("detectMediumChange", d.DetectMediumChange)
            .Set("timers", Json::Object()
                               .Set("standby", standby)
                               .Set("standbyMax", d.HasStandbyTimer ? d.StandbyMax : -1)
                               .Set("inactivity", inactivity)
                               .Set("idle", idle)
                               .Set("idleMax", d.HasIdleTimer ? d.IdleMax : -1)
                               .Set("plextorIdle", d.HasPlextorIdle ? Json(d.PlextorIdle) : Json())
                               .Set("plextorGameMode", d.HasPlextorGameMode ? Json(d.PlextorGameMode) : Json()));
        if (!setCdSpeed.empty()) info.Set("setCdSpeed", setCdSpeed);
        Print(info.Dump() + "\n");
        return kExitOk;
    }

    std::string stepText;
    for (const int32_t step : steps) stepText += (stepText.empty() ? "" : " ") + FactorText(step);
    std::vector<std::pair<std::string, std::string>> fields = {
        {"Device", session.DeviceName(drive) + " (" + cd.HostAdaptorInfo() + ")"},
        {"Drive", TrimSpaces(cd.Vendor()) + " " + TrimSpaces(cd.Product()) + " " + TrimSpaces(cd.Revision()) +
                      (cd.VendorSpecific().empty() ? "" : " " + cd.VendorSpecific())},
        {"Family", cd.FamilyName()},
        {"Model", cd.ModelName()},
        {"Capabilities", "writer " + YesNo(cd.IsWriter) + ", C2 pointers " + YesNo(cd.C2Pointers) +
                             ", CD-DA commands " + YesNo(cd.CddaCommands) + ", stream accurate " +
                             YesNo(cd.CddaStreamAccurate) +
                             (cd.BufferSizeKB >= 0 ? ", buffer " + std::to_string(cd.BufferSizeKB) + " KB" : "")},
        {"Speed", FactorText(speed) + (zone.empty() ? "" : " \"" + zone + "\"") +
                      (daeZone.empty() ? "" : ", DAE \"" + daeZone + "\"") + ", at most " + FactorText(maximum)},
        {"Speed steps", steps.empty() ? "not detected" : stepText},
    };
    if (!setCdSpeed.empty()) fields.push_back({"SET CD SPEED", setCdSpeed});
    fields.push_back({"Disc", discText});
    fields.push_back({"Lock", lock < 0 ? "off" : FactorText(lock)});
    fields.push_back({"Medium changes", d.DetectMediumChange ? "watched" : "not watched"});
    if (d.HasStandbyTimer) fields.push_back({"Standby timer", Seconds(standby, d.StandbyMax)});
    if (d.HasInactivity) fields.push_back({"Inactivity timer", inactivity < 0 ? "-" : TimerValueName(inactivity)});
    if (d.HasIdleTimer) fields.push_back({"Idle timer", Seconds(idle, d.IdleMax)});
    if (d.HasPlextorIdle) fields.push_back({"Plextor idle", d.PlextorIdle ? "on" : "off"});
    if (d.HasPlextorGameMode) fields.push_back({"Plextor game mode", d.PlextorGameMode ? "on" : "off"});
    Print(Fields(fields));
    return kExitOk;
}

}  // namespace cli
