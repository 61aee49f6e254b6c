#pragma once
// Every registry key and value name the program stores, in one place.
#include <cstdint>
#include <string>

namespace regnames {

// The product key, the same path below the per-user and the per-machine root.
inline constexpr const char* kProductKey = "\\SOFTWARE\\Brannwick\\Kalmor";

// A cache or settings tree written under another stamp is deleted at start.
inline constexpr const char* kVersionStamp =
    "1.02/1.02+Memorex482E+EPO-CR840S+Nec502+CDD3600+CD4831E+SR8584A+CDS400/1+AOpen_48x+CDS400A/2+HP8200+CD540E/"
    "1.00";

// Product key values.
inline constexpr const char* kVersion = "Version";
inline constexpr const char* kOptions = "Options";
inline constexpr const char* kTabIndex = "TabIndex";
inline constexpr const char* kDialogTop = "DialogTop";
inline constexpr const char* kDialogLeft = "DialogLeft";

// Drive key values of the per-user tree.
inline constexpr const char* kDetectMediumChange = "DetectMediumChange";

// Profile key values.
inline constexpr const char* kDefaultProfile = "Default";
inline constexpr const char* kSpeed = "Speed";
inline constexpr const char* kLockSpeed = "LockSpeed";
inline constexpr const char* kLockSpeedStr = "LockSpeedStr";
inline constexpr const char* kStandBy = "StandBy";
inline constexpr const char* kInactivity = "Inactivity";
inline constexpr const char* kIdle = "Idle";
inline constexpr const char* kPlextorIdle = "PlextorIdle";
inline constexpr const char* kPlextorGameMode = "PlextorGameMode";

// Drive key values of the per-machine tree: the drive's identity and the detection cache.
inline constexpr const char* kVendorId = "VendorId";
inline constexpr const char* kProductId = "ProductId";
inline constexpr const char* kRevision = "Revision";
inline constexpr const char* kCDROMtypeStr = "CDROMtypeStr";
inline constexpr const char* kCDROMnameStr = "CDROMnameStr";
inline constexpr const char* kDetectionCDs = "DetectionCDs";
inline constexpr const char* kZoneInfo = "ZoneInfo";
// The disc type text of the cache when no readable disc is in the drive.
inline constexpr const char* kNoDisc = "keine CD";
// Suffixes after the disc type text.
inline constexpr const char* kTries = " Tries";
inline constexpr const char* kDateTime = " DateTime";
inline constexpr const char* kDetectTicks = " D-Ticks";
inline constexpr const char* kProbeTicks = " T-Ticks";

// Per-user Run entry of the autostart.
inline constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Kalmor";
inline constexpr const char* kStartUpOption = "/StartUp";

// Keys an older release created literally named after the root, below the root.
inline constexpr const char* kMisplacedKeys[] = {
    "\\Software\\Brannwick\\Kalmor",
    "\\Software\\Brannwick",
    "\\Software",
    "",
};
inline constexpr const char* kCurrentUserName = "\\HKEY_CURRENT_USER";
inline constexpr const char* kLocalMachineName = "\\HKEY_LOCAL_MACHINE";

// Product key + "\HA<ha>_ID<target>".
std::string DriveKey(uint8_t ha, uint8_t target);
// Drive key + "\" + profile.
std::string ProfileKey(uint8_t ha, uint8_t target, const std::string& profile);
// "Speed_<n>": the accepted speed factor list.
std::string SpeedValue(int n);
// Disc type text + " Speed_<n>": the factors found by probing with that disc type.
std::string ProbedSpeedValue(const std::string& discType, int n);
// "Speed_<n>_audio" or "Speed_<n>_data", and either + "_inf".
std::string MeasurementValue(int n, bool audio);
std::string MeasurementInfoValue(int n, bool audio);

}  // namespace regnames
