#pragma once
// The settings store: the global drive table and everything the program keeps in the
// registry (per-user choices and per-disc profiles, per-machine detection cache and
// measurements). Registry failures are silent: a key that cannot be opened means that
// nothing is stored. Operations on a drive take its index 0..numDrives-1.
#include <cstdint>
#include <memory>
#include <string>

#include "drive/CDROM.h"

constexpr int kMaxDrives = 10;

// Stored display texts of a locked speed longer than this are cut on loading: the zone
// texts the dialog stores are short, a longer value is damage.
constexpr size_t kMaxLockSpeedStrLength = 64;

struct TDriveSettings {
    std::unique_ptr<TCDROM> CDROM;
    int32_t Speed = -1;
    int32_t LockSpeed = -1;
    int32_t StandBy = -1;
    int32_t StandbyMax = -1;
    int32_t Inactivity = -1;
    int32_t Idle = -1;
    int32_t IdleMax = -1;
    bool CDInserted = false;
    bool MediumChanged = false;
    bool DetectMediumChange = false;
    bool Individual = false;
    bool AudioCD = false;
    bool HasIdleTimer = false;
    bool HasStandbyTimer = false;
    bool UseStandbyTimer = false;
    bool HasInactivity = false;
    bool InactivityFixed = false;
    bool UseInactivity = false;
    bool PlextorIdle = false;
    bool HasPlextorIdle = false;
    bool PlextorGameMode = false;
    bool HasPlextorGameMode = false;
    bool UseIdleTimer = false;
    std::string DriveName;
    std::string LockSpeedStr;
    std::string DiscID;
};

extern TDriveSettings Drives[kMaxDrives];
extern uint8_t numDrives;
// The drive the user interface works on.
extern int32_t drv;
// "-debug": extra dialog fields and a sound whenever a profile is applied.
extern bool DebugMode;
// 0 resident, 1 apply and end, 2 started by the user, 3 not set.
extern uint8_t StartMode;
// "/StartUp": the program was started by Windows at log-on.
extern bool StartedByWindows;
// "-inactivity": prefer the inactivity timer to the standby timer.
extern bool InactivityOption;
// The drive whose EEPROM the TEAC window writes; -1 none.
extern int32_t TeacEepromDrive;

// The display name of a drive from its inquiry strings.
std::string MakeDriveName(const std::string& vendor, const std::string& product);

// One TCDROM per CD-ROM drive at target ids 0..7 of every host adapter, at most 10.
void BuildDriveList();
// Destroys the drive objects, last first; numDrives := 0.
void FreeDriveList();

// The cached speed-step detection of a drive (runs on the detection worker).
void DetectSpeeds(int drive, bool forceProbing);

// A profile is "Default" or a disc identity. A name that is empty or holds a backslash
// would address another key (the drive key itself or a subkey), so it names no profile:
// exists and load give false, save and delete do nothing.
bool ProfileExists(int drive, const std::string& profile);
// Applies the profile to the drive; false when it does not exist.
bool LoadSettings(int drive, const std::string& profile);
void SaveSettings(int drive, const std::string& profile);
void DeleteProfile(int drive, const std::string& profile);

// Sets the drive's DetectMediumChange from the stored REG_DWORD; false when there is none.
bool ReadDetectMediumChange(int drive);
// Stores the drive's DetectMediumChange as 1 or 0; false when it did not stick.
bool WriteDetectMediumChange(int drive);

// 0..2, or 3 when not set.
uint8_t ReadStartMode();
bool WriteStartMode(uint8_t mode);
// -1 when missing.
int32_t ReadTabIndex();
bool WriteTabIndex(int32_t index);
// False unless both values exist.
bool ReadDialogPosition(int32_t& top, int32_t& left);
bool WriteDialogPosition(int32_t top, int32_t left);

// Factor of accepted speed step n (from 1), -1 when missing.
int32_t DetectedSpeed(int drive, int n);
// Stores a measurement of step n; false when the drive has no cache key.
bool WriteMeasurement(int drive, int n, const std::string& result, const std::string& info, bool audio);

// Deletes and recreates each product key whose stamp differs (or all with clear).
void CheckVersionStamp(bool clear);
// Deletes the keys literally named after a root that an older release created.
void RemoveMisplacedKeys();
