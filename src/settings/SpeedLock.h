#pragma once
// The per-drive steps of the monitoring: keeping a locked drive at its lock speed, watching
// for a disc that appeared or vanished, and loading the profile that then applies. Plain
// functions on the drive table, shared by the main window's lock timer, the settings
// dialog's refresh and the Linux program's daemon.
#include <cstdint>
#include <string>

class TCDROM;

// When the drive is locked and reports another readable speed factor, sets it back to
// LockSpeed. Returns the factor it found then, else -1 (left alone).
int32_t ReapplyLockSpeed(int drive);

// TEST UNIT READY: a disc that appeared sets MediumChanged and reads the TOC (AudioCD and
// DiscID of the new disc); a disc that vanished sets MediumChanged and DiscID "Default".
void MediumCheck(int drive);

// After MediumChanged: loads the disc's own profile when it has one (Individual), else
// "Default". Returns the profile loaded; empty when nothing changed or the profile is not stored.
std::string LoadProfileAfterMediumChange(int drive);

// The name of the profile of the disc whose TOC the drive read last: its identity, cut to
// the length a profile name may have.
std::string DiscProfileName(TCDROM& cd);

// What one pass over a drive did, for a log.
struct MonitorActions {
    int32_t resetFrom = -1;  // the factor the drive was set back from, -1 when left alone
    bool mediumChanged = false;
    std::string profile;     // the profile loaded, empty when none
};

// One lock timer pass over a drive: the lock speed first, then, with medium detection, the
// medium check, and the profile a change calls for.
MonitorActions MonitorDrive(int drive);
