// Profiles: the per-user settings of a drive, "Default" or per disc, and applying them.
#include "platform/System.h"
#include "settings/StoreInternal.h"

using platform::RegRoot;

namespace {

constexpr const char* kProfileAppliedSound = "MailBeep";

// Largest idle time whose tenths of a second still fit the drive's signed 32-bit field.
constexpr int32_t kMaxIdleSeconds = 214748364;

bool IsFactor(int32_t value) { return value >= 1 && value <= 255; }

// A stored speed is sent to the drive or enforced by the lock timer; a value no drive
// accepts would only raise the illegal-parameter message, so it counts as none.
int32_t StoredFactor(const platform::RegKey& key, const char* name)
{
    const auto value = key.readInteger(name);
    return value && IsFactor(*value) ? *value : -1;
}

void ApplyStandby(TDriveSettings& d, const platform::RegKey& key)
{
    d.StandBy = -1;
    if (!d.HasStandbyTimer) return;
    const auto value = key.readInteger(regnames::kStandBy);
    if (!value) return;
    d.StandBy = *value;
    d.UseStandbyTimer = *value >= 0;
    if (d.UseStandbyTimer) {
        d.CDROM->SetStandby(d.StandBy);
        return;
    }
    d.StandBy = d.CDROM->GetStandby(true);
    if (d.StandBy != -1) d.CDROM->SetStandby(d.StandBy);
}

void ApplyInactivity(TDriveSettings& d, const platform::RegKey& key)
{
    d.Inactivity = -1;
    if (!d.HasInactivity) return;
    const auto value = key.readInteger(regnames::kInactivity);
    if (!value) return;
    d.Inactivity = *value;
    d.UseInactivity = *value >= 0;
    if (d.UseInactivity) {
        d.CDROM->SetInactivity(d.Inactivity);
        return;
    }
    d.Inactivity = d.CDROM->GetInactivity(true);
    if (d.Inactivity != -1) d.CDROM->SetInactivity(d.Inactivity);
}

// Unlike standby and inactivity, a missing value still restores the drive's default.
void ApplyIdle(TDriveSettings& d, const platform::RegKey& key)
{
    d.Idle = -1;
    if (!d.HasIdleTimer) return;
    const auto value = key.readInteger(regnames::kIdle);
    if (value && *value <= kMaxIdleSeconds) d.Idle = *value;
    d.UseIdleTimer = d.Idle >= 0;
    if (d.UseIdleTimer) {
        d.CDROM->SetIdle(d.Idle);
        return;
    }
    d.Idle = d.CDROM->GetIdle(true);
    if (d.Idle != -1) d.CDROM->SetIdle(d.Idle);
}

void ApplyPlextorFeatures(TDriveSettings& d, const platform::RegKey& key)
{
    if (d.HasPlextorIdle) {
        if (const auto value = key.readInteger(regnames::kPlextorIdle)) {
            d.PlextorIdle = *value != 0;
            d.CDROM->SetPlextorIdle(d.PlextorIdle);
        }
    }
    if (d.HasPlextorGameMode) {
        if (const auto value = key.readInteger(regnames::kPlextorGameMode)) {
            d.PlextorGameMode = *value != 0;
            d.CDROM->SetPlextorSpeedMode(d.PlextorGameMode);
        }
    }
}

}  // namespace

std::string DriveKeyOf(const TDriveSettings& d)
{
    return regnames::DriveKey(d.CDROM->HaId(), d.CDROM->TargetId());
}

std::string ProfileKeyOf(const TDriveSettings& d, const std::string& profile)
{
    // Disc identities hold "/" and quotes but never a backslash, which would split the key.
    if (profile.empty() || profile.find('\\') != std::string::npos) return "";
    return regnames::ProfileKey(d.CDROM->HaId(), d.CDROM->TargetId(), profile);
}

bool ProfileExists(int drive, const std::string& profile)
{
    const std::string path = ProfileKeyOf(DriveRecord(drive), profile);
    return !path.empty() && platform::KeyExists(RegRoot::CurrentUser, path);
}

bool LoadSettings(int drive, const std::string& profile)
{
    TDriveSettings& d = DriveRecord(drive);
    const std::string path = ProfileKeyOf(d, profile);
    if (path.empty()) return false;
    platform::RegKey key = platform::OpenKey(RegRoot::CurrentUser, path);
    if (!key.isOpen()) return false;
    TCDROM& cd = *d.CDROM;

    cd.TestUnitReady();
    d.Speed = StoredFactor(key, regnames::kSpeed);
    if (d.Speed > 0) cd.SetCDSpeed(d.Speed);

    // The lock is not sent here: the monitoring timer enforces it.
    cd.TestUnitReady();
    d.LockSpeed = StoredFactor(key, regnames::kLockSpeed);
    if (d.LockSpeed == -1) {
        d.LockSpeedStr.clear();
    } else {
        const auto text = key.readString(regnames::kLockSpeedStr);
        d.LockSpeedStr = text ? text->substr(0, kMaxLockSpeedStrLength) : std::to_string(d.LockSpeed) + "x";
    }

    ApplyStandby(d, key);
    ApplyInactivity(d, key);
    cd.TestUnitReady();
    ApplyIdle(d, key);
    ApplyPlextorFeatures(d, key);
    key.close();

    if (DebugMode) platform::PlaySystemSound(kProfileAppliedSound, true);
    return true;
}

void SaveSettings(int drive, const std::string& profile)
{
    const TDriveSettings& d = DriveRecord(drive);
    const std::string path = ProfileKeyOf(d, profile);
    if (path.empty()) return;
    platform::RegKey key = platform::CreateKey(RegRoot::CurrentUser, path);
    if (!key.isOpen()) return;

    key.writeInteger(regnames::kSpeed, d.Speed);
    key.writeInteger(regnames::kLockSpeed, d.LockSpeed);
    if (d.LockSpeed != -1) {
        key.writeString(regnames::kLockSpeedStr, d.LockSpeedStr);
    } else if (key.valueType(regnames::kLockSpeedStr) != platform::RegType::Missing) {
        key.deleteValue(regnames::kLockSpeedStr);
    }
    if (d.HasStandbyTimer) key.writeInteger(regnames::kStandBy, d.UseStandbyTimer ? d.StandBy : -1);
    if (d.HasInactivity) key.writeInteger(regnames::kInactivity, d.UseInactivity ? d.Inactivity : -1);
    if (d.HasIdleTimer) key.writeInteger(regnames::kIdle, d.UseIdleTimer ? d.Idle : -1);
    if (d.HasPlextorIdle) key.writeInteger(regnames::kPlextorIdle, d.PlextorIdle ? 1 : 0);
    if (d.HasPlextorGameMode) key.writeInteger(regnames::kPlextorGameMode, d.PlextorGameMode ? 1 : 0);
}

void DeleteProfile(int drive, const std::string& profile)
{
    const std::string path = ProfileKeyOf(DriveRecord(drive), profile);
    if (!path.empty()) platform::DeleteKeyTree(RegRoot::CurrentUser, path);
}
