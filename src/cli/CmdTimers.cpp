// kalmor timers DEV [--standby S|off] [--inactivity CODE|off] [--idle S|off]
//                   [--plextor-idle on|off] [--gamemode on|off]
// Each change goes as the settings dialog sends it: record, TEST UNIT READY, drive, TEST UNIT
// READY, store; switching a timer off puts the drive's own default back.
#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/Profile.h"
#include "settings/Language.h"
#include "settings/Store.h"

namespace cli {

namespace {

// A value of a timer option: 0..limit, or -1 for off; nullopt when it is neither.
std::optional<int32_t> TimerValue(const std::string& text, int32_t limit)
{
    if (text == "off") return -1;
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int32_t value = std::stoi(text);
    if (limit >= 0 && value > limit) return std::nullopt;
    return value;
}

struct TimerRow {
    const char* option;
    bool TDriveSettings::*has;
    bool TDriveSettings::*use;
    int32_t TDriveSettings::*value;
    int32_t TDriveSettings::*limit;  // null: codes 0..15
    int32_t (TCDROM::*get)(bool useDefaults);
    bool (TCDROM::*set)(int32_t);
};
const TimerRow kTimers[] = {
    {"standby", &TDriveSettings::HasStandbyTimer, &TDriveSettings::UseStandbyTimer, &TDriveSettings::StandBy,
     &TDriveSettings::StandbyMax, &TCDROM::GetStandby, &TCDROM::SetStandby},
    {"inactivity", &TDriveSettings::HasInactivity, &TDriveSettings::UseInactivity, &TDriveSettings::Inactivity,
     nullptr, &TCDROM::GetInactivity, &TCDROM::SetInactivity},
    {"idle", &TDriveSettings::HasIdleTimer, &TDriveSettings::UseIdleTimer, &TDriveSettings::Idle,
     &TDriveSettings::IdleMax, &TCDROM::GetIdle, &TCDROM::SetIdle},
};

struct SwitchRow {
    const char* option;
    bool TDriveSettings::*has;
    bool TDriveSettings::*state;
    bool (TCDROM::*set)(bool);
};
const SwitchRow kSwitches[] = {
    {"plextor-idle", &TDriveSettings::HasPlextorIdle, &TDriveSettings::PlextorIdle, &TCDROM::SetPlextorIdle},
    {"gamemode", &TDriveSettings::HasPlextorGameMode, &TDriveSettings::PlextorGameMode,
     &TCDROM::SetPlextorSpeedMode},
};

// False with a message when the drive has no such timer, the value is out of range or the
// drive refused it.
bool SetTimer(Session& session, int drive, const TimerRow& row, const std::string& text, int& code)
{
    TDriveSettings& d = Drives[drive];
    TCDROM& cd = *d.CDROM;
    if (!(d.*row.has) || (row.limit == nullptr && d.InactivityFixed)) {
        Complain(session.DeviceName(drive) + " has no " + row.option + " timer that can be set");
        code = kExitFailed;
        return false;
    }
    const std::optional<int32_t> value = TimerValue(text, row.limit ? d.*row.limit : 15);
    if (!value) {
        Complain(std::string("--") + row.option + ": " + text + " is not off nor a value from 0 to " +
                 std::to_string(row.limit ? d.*row.limit : 15));
        code = kExitUsage;
        return false;
    }
    bool ok = true;
    if (*value == -1) {
        d.*row.value = (cd.*row.get)(true);
        if (d.*row.value != -1) ok = (cd.*row.set)(d.*row.value);
        d.*row.use = false;
    } else {
        d.*row.use = true;
        d.*row.value = *value;
        cd.TestUnitReady();
        ok = (cd.*row.set)(*value);
        cd.TestUnitReady();
    }
    if (!ok) {
        Complain(session.DeviceName(drive) + ": the drive refused the " + row.option + " timer");
        code = kExitFailed;
    }
    return ok;
}

bool SetSwitch(Session& session, int drive, const SwitchRow& row, const std::string& text, int& code)
{
    TDriveSettings& d = Drives[drive];
    if (!(d.*row.has) || (text != "on" && text != "off")) {
        Complain(d.*row.has ? std::string("--") + row.option + " is on or off"
                            : session.DeviceName(drive) + " has no " + row.option);
        code = d.*row.has ? kExitUsage : kExitFailed;
        return false;
    }
    // Only what the drive took goes into the record and the store.
    const bool on = text == "on";
    if (!((*d.CDROM).*row.set)(on)) {
        Complain(session.DeviceName(drive) + ": the drive refused " + row.option + " " + text);
        code = kExitFailed;
        return false;
    }
    d.*row.state = on;
    return true;
}

std::string ValueText(const TDriveSettings& d, const TimerRow& row)
{
    const int32_t value = d.*row.value;
    if (value < 0) return "-";
    const std::string text = row.limit ? std::to_string(value) + " s" : TimerValueName(value);
    return text + (d.*row.use ? "" : " (the drive's own)");
}

}  // namespace

int TimersCommand(Session& session, int drive)
{
    TDriveSettings& d = Drives[drive];
    session.Detect(drive, false);
    std::string profile;
    if (const int code = OpenProfile(session, drive, profile)) return code;
    bool changed = false;
    int code = kExitOk;
    for (const TimerRow& row : kTimers) {
        const std::optional<std::string> text = session.options().Value(row.option);
        if (!text) continue;
        if (!SetTimer(session, drive, row, *text, code)) return code;
        changed = true;
    }
    for (const SwitchRow& row : kSwitches) {
        const std::optional<std::string> text = session.options().Value(row.option);
        if (!text) continue;
        if (!SetSwitch(session, drive, row, *text, code)) return code;
        changed = true;
    }
    if (changed) SaveSettings(drive, profile);

    Json timers = Json::Object();
    std::vector<std::pair<std::string, std::string>> fields;
    for (const TimerRow& row : kTimers) {
        if (!(d.*row.has)) continue;
        timers.Set(row.option, Json::Object().Set("value", d.*row.value).Set("set", d.*row.use));
        fields.push_back({std::string(row.option) + " timer", ValueText(d, row)});
    }
    for (const SwitchRow& row : kSwitches) {
        if (!(d.*row.has)) continue;
        timers.Set(row.option, d.*row.state);
        fields.push_back({row.option, d.*row.state ? "on" : "off"});
    }
    if (fields.empty()) fields.push_back({"timers", "none"});
    Print(session.Json() ? timers.Dump() + "\n" : Fields(fields));
    return kExitOk;
}

}  // namespace cli
