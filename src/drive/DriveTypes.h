#pragma once
// Command-set families and the two fixed speed-unit conversions of the drive layer.
#include <cstdint>
#include <string>

// Selects how speed, timers and audio reading are done; stored as one byte.
enum DriveFamily : uint8_t {
    FamilyUnknown = 0,
    FamilyCdda12 = 1,
    FamilyTeacScsi = 2,
    FamilyPlextor = 3,
    FamilyMmc = 4,
    FamilyToshiba = 5,
    FamilyPhilipsCdd2000 = 6,
    FamilyPhilipsCdd2600 = 7,
    FamilyMatshita = 8,
    FamilyNec = 9,
};

// Also the drive's type string in the registry; values outside 1..9 are "UNKNOWN".
inline std::string FamilyName(int family)
{
    static const char* const kNames[] = {
        "UNKNOWN",
        "CDDA12",
        "TEACSCSI",
        "PLEXTOR",
        "MMC",
        "TOSHIBA",
        "PHILIPS_CDD2000",
        "PHILIPS_CDD2600",
        "MATSHITA",
        "NEC",
    };
    return (family >= 1 && family <= 9) ? kNames[family] : kNames[0];
}

// Drives report KB/s; everything above the drive layer speaks in factors. -1 (unknown) stays -1.
inline int KBpsToFactor(int kbps) { return kbps == -1 ? -1 : kbps / 176; }

// The KB/s value sent to a drive for a factor; -1 stays -1.
inline int FactorToKBps(int factor) { return factor == -1 ? -1 : factor * 177 + 87; }
