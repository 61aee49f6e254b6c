// kalmor daemon: the tray's resident part without a tray. It detects the drives (cached),
// applies each drive's "Default" profile, then every lock timer period sets locked drives back
// to their lock speed and, where medium changes are watched, loads the profile of a new disc,
// until SIGTERM or SIGINT. One line per action on stdout.
#include <signal.h>

#include <cstdlib>

#include "cli/Commands.h"
#include "cli/Output.h"
#include "emu/Control.h"
#include "platform/MainLoop.h"
#include "platform/posix/Posix.h"
#include "settings/SpeedLock.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"

namespace cli {

namespace {

constexpr uint32_t kLockTimerMs = 5000;  // the tray's lock timer
constexpr uint32_t kMinIntervalMs = 10;
constexpr uint32_t kMaxIntervalMs = 3600000;

void Log(const std::string& text) { Print(text + "\n"); }

// A whole number from min to max, or -1.
long ParseCount(const std::string& text, long min, long max)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
    const long value = std::stol(text);
    return value >= min && value <= max ? value : -1;
}

class Daemon {
public:
    explicit Daemon(Session& session) : session_(session) {}

    void Start()
    {
        for (int drive = 0; drive < numDrives; ++drive)
            if (ProfileExists(drive, regnames::kDefaultProfile) && LoadSettings(drive, regnames::kDefaultProfile))
                Log(Name(drive) + ": profile \"" + regnames::kDefaultProfile + "\" loaded");
    }

    void Tick()
    {
        RunControlFile();
        ReloadChangedSettings();
        for (int drive = 0; drive < numDrives; ++drive) {
            const MonitorActions actions = MonitorDrive(drive);
            const TDriveSettings& d = Drives[drive];
            if (actions.resetFrom != -1)
                Log(Name(drive) + ": set back from " + FactorText(actions.resetFrom) + " to its lock speed " +
                    FactorText(d.LockSpeed));
            if (actions.mediumChanged)
                Log(Name(drive) + (d.CDInserted ? ": disc inserted: " + d.DiscID : ": disc removed"));
            if (!actions.profile.empty()) Log(Name(drive) + ": profile \"" + actions.profile + "\" loaded");
        }
    }

private:
    std::string Name(int drive) const { return session_.DeviceName(drive); }

    // The emulator takes the control file the DLL takes, so a script can change discs and
    // speeds behind the daemon's back.
    void RunControlFile()
    {
        const char* path = std::getenv("WNASPI32_EMU_CONTROL");
        if (!session_.Emulator() || !path || !*path) return;
        for (const std::string& note : emu::RunControlFile(*session_.Emulator(), path)) Log("emulator " + note);
    }

    // Another kalmor command changed the settings: their profiles apply from now on, so that the
    // daemon does not set a drive back to a lock speed that was just changed.
    void ReloadChangedSettings()
    {
        if (!platform::posix::StoreChangedOnDisk()) return;
        std::string error;
        if (!platform::posix::LoadStore(error)) {
            if (error != reloadError_) Complain("settings not reloaded, the last ones stay in force: " + error);
            reloadError_ = error;
            return;
        }
        reloadError_.clear();
        Log("settings file changed: reloaded");
        for (int drive = 0; drive < numDrives; ++drive) {
            ReadDetectMediumChange(drive);
            Drives[drive].MediumChanged = true;
            const std::string profile = LoadProfileAfterMediumChange(drive);
            if (!profile.empty()) Log(Name(drive) + ": profile \"" + profile + "\" loaded");
        }
    }

    Session& session_;
    std::string reloadError_;
};

}  // namespace

int DaemonCommand(Session& session)
{
    long interval = kLockTimerMs;
    long ticks = 0;  // 0: until stopped
    if (const auto text = session.options().Value("interval")) {
        interval = ParseCount(*text, kMinIntervalMs, kMaxIntervalMs);
        if (interval < 0) {
            Complain("daemon: --interval " + *text + " is not a number of ms from 10 to 3600000");
            return kExitUsage;
        }
    }
    if (const auto text = session.options().Value("ticks")) {
        ticks = ParseCount(*text, 1, 999999999);
        if (ticks < 0) {
            Complain("daemon: --ticks " + *text + " is not a number from 1");
            return kExitUsage;
        }
    }
    platform::posix::StopLoopOnSignals();
    for (int drive = 0; drive < numDrives && !platform::posix::StopSignal(); ++drive) session.Detect(drive, false);
    // The detection's cache is the daemon's only change to the settings; kept at once, so that
    // the end writes nothing over what other commands stored meanwhile.
    if (const int code = session.Finish()) return code;

    Daemon daemon(session);
    int done = 0;
    platform::Timer lockTimer{uint32_t(interval)};
    lockTimer.OnTimer = [&] {
        daemon.Tick();
        ++done;
    };
    if (!platform::posix::StopSignal()) {
        daemon.Start();
        Log("kalmor daemon: " + std::to_string(numDrives) + " drive" + (numDrives == 1 ? "" : "s") + ", every " +
            std::to_string(interval) + " ms; SIGTERM or SIGINT ends it");
        lockTimer.SetEnabled(true);
        platform::posix::RunLoopUntil([&] { return ticks != 0 && done >= ticks; });
        lockTimer.SetEnabled(false);
    }
    const int stopSignal = platform::posix::StopSignal();
    if (stopSignal != 0)
        Log(std::string("kalmor daemon: stopped by ") + (stopSignal == SIGINT ? "SIGINT" : "SIGTERM"));
    else
        Log("kalmor daemon: stopped after " + std::to_string(done) + " tick" + (done == 1 ? "" : "s"));
    return kExitOk;
}

}  // namespace cli
