#pragma once
// The per-drive steps of the monitoring: keeping a locked drive at its lock speed, watching
// for a disc that appeared or vanished, and loading the profile that then applies. Plain
// functions on the drive table, shared by the main window's lock timer and the settings
// dialog's refresh.
#include <string>

// When the drive is locked and reports another readable speed factor, sets it back to
// LockSpeed.
void ReapplyLockSpeed(int drive);

// TEST UNIT READY: a disc that appeared sets MediumChanged and reads the TOC (AudioCD and
// DiscID of the new disc); a disc that vanished sets MediumChanged and DiscID "Default".
void MediumCheck(int drive);

// After MediumChanged: loads the disc's own profile when it has one (Individual), else
// "Default". Nothing happens while MediumChanged is clear.
void LoadProfileAfterMediumChange(int drive);

// One lock timer pass over a drive: the lock speed first, then, with medium detection, the
// medium check, and the profile a change calls for.
void MonitorDrive(int drive);
