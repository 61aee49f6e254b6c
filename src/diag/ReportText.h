#pragma once
// Small text pieces shared by the parts of the drive report.
#include <cstdint>
#include <string>

inline std::string YesNo(bool value) { return value ? "ja" : "nein"; }

inline std::string OkFailed(bool value) { return value ? "OK" : "Fehler"; }

// The track number right-aligned in 3 characters, so that what follows starts in column 4.
inline std::string TrackNumberText(int track) { return (track < 10 ? "  " : " ") + std::to_string(track); }
