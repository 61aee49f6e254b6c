// kalmor speed DEV N and kalmor lock DEV N|off.
#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/Profile.h"
#include "cli/Streaming.h"
#include "settings/Store.h"

namespace cli {

namespace {

std::string SpeedLine(Session& session, int drive, int32_t speed)
{
    const std::string& zone = Drives[drive].CDROM->ZoneDescription;
    return session.DeviceName(drive) + ": " + FactorText(speed) + (zone.empty() ? "" : " (" + zone + ")");
}

// The drive's refusal, said with what the kernel or the drive refused.
int Refused(Session& session, int drive, const std::string& what)
{
    const std::string refusal = session.TakeRefusal();
    if (!refusal.empty()) {
        Complain(refusal);
        return kExitNoPermission;
    }
    Complain(session.DeviceName(drive) + ": the drive refused " + what);
    return kExitFailed;
}

int Report(Session& session, int drive, int32_t speed, const std::string& profile)
{
    if (session.Json()) {
        const TDriveSettings& d = Drives[drive];
        Print(Json::Object()
                  .Set("device", session.DeviceName(drive))
                  .Set("speed", speed)
                  .Set("zone", d.CDROM->ZoneDescription)
                  .Set("lock", d.LockSpeed)
                  .Set("profile", profile)
                  .Dump() +
              "\n");
    } else {
        Print(SpeedLine(session, drive, speed) + (Drives[drive].LockSpeed != -1 ? ", locked" : "") + "\n");
    }
    return kExitOk;
}

}  // namespace

int ParseFactor(const std::string& text)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
    const int factor = std::stoi(text);
    return factor >= 1 && factor <= 255 ? factor : -1;
}

int SpeedCommand(Session& session, int drive, const std::string& text)
{
    const int32_t factor = ParseFactor(text);
    if (factor < 0) {
        Complain("speed: " + text + " is no speed factor from 1 to 255");
        return kExitUsage;
    }
    TDriveSettings& d = Drives[drive];
    TCDROM& cd = *d.CDROM;
    const bool streaming = session.options().Flag("streaming");
    if (streaming && cd.Family != FamilyMmc) {
        Complain("--streaming is for MMC drives; " + session.DeviceName(drive) + " is of the family " +
                 cd.FamilyName());
        return kExitUsage;
    }
    session.Detect(drive, false);
    std::string profile;
    if (const int code = OpenProfile(session, drive, profile)) return code;
    const int32_t before = cd.CurrentSpeedStep();
    if (!(streaming ? SetStreamingSpeed(cd, factor) : cd.SetCDSpeed(factor)))
        return Refused(session, drive, streaming ? "SET STREAMING" : "the speed " + FactorText(factor));

    // What the drive took, as the settings dialog reads it back; a locked drive stays locked there.
    // A step SET STREAMING reached may be missing from a table SET CD SPEED could not probe.
    int32_t speed = cd.CurrentSpeedStep();
    if (streaming && speed == -1) speed = KBpsToFactor(cd.CurrentReadSpeed());
    d.Speed = speed;
    if (d.LockSpeed != -1 && speed != -1) {
        d.LockSpeed = speed;
        d.LockSpeedStr = cd.ZoneDescription.empty() ? std::to_string(speed) + "x" : cd.ZoneDescription;
    }
    SaveSettings(drive, profile);
    if (!streaming && cd.Family == FamilyMmc && speed == before && speed != factor && before != -1)
        Complain(session.DeviceName(drive) + " kept " + FactorText(before) +
                 ": it may ignore SET CD SPEED; try speed --streaming");
    return Report(session, drive, speed, profile);
}

int LockCommand(Session& session, int drive, const std::string& text)
{
    const int32_t factor = text == "off" ? 0 : ParseFactor(text);
    if (factor < 0) {
        Complain("lock: " + text + " is neither a speed factor from 1 to 255 nor off");
        return kExitUsage;
    }
    const std::optional<std::string> medium = session.options().Value("medium");
    if (medium && *medium != "on" && *medium != "off") {
        Complain("lock: --medium " + *medium + " is neither on nor off");
        return kExitUsage;
    }
    TDriveSettings& d = Drives[drive];
    TCDROM& cd = *d.CDROM;
    session.Detect(drive, false);
    if (medium) {
        // A setting of the drive, not of a profile, as in the settings dialog.
        d.DetectMediumChange = *medium == "on";
        WriteDetectMediumChange(drive);
    }
    std::string profile;
    if (const int code = OpenProfile(session, drive, profile)) return code;
    if (factor == 0) {
        d.LockSpeed = -1;
        d.LockSpeedStr.clear();
        SaveSettings(drive, profile);
        return Report(session, drive, cd.CurrentSpeedStep(), profile);
    }
    if (!cd.SetCDSpeed(factor)) return Refused(session, drive, "the speed " + FactorText(factor));
    const int32_t speed = cd.CurrentSpeedStep();
    if (speed == -1) {
        Complain(session.DeviceName(drive) + ": the drive does not report its speed, so it cannot be locked");
        return kExitFailed;
    }
    d.Speed = speed;
    d.LockSpeed = speed;
    d.LockSpeedStr = cd.ZoneDescription.empty() ? std::to_string(speed) + "x" : cd.ZoneDescription;
    SaveSettings(drive, profile);
    return Report(session, drive, speed, profile);
}

}  // namespace cli
