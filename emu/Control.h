#pragma once
// Acting on a running emulated system as its user would: one command per line, addressed by
// host adapter number and target id.
//   insert HA ID {disc}   puts a disc in (a "disc" object of a scenario); swaps one that is in
//   eject HA ID           takes the disc out
//   speed HA ID KBPS      the drive takes the step a SET CD SPEED of KBPS selects, as if another
//                         program had asked for it
//   power HA ID           power cycle: mode pages back to their saved values, the fastest
//                         step, the motor stopped, a TEAC drive's EEPROM limit in force,
//                         and a unit attention (power on reset) for the next command
// Blank lines and lines starting with "#" are ignored.
#include <string>
#include <vector>

#include "emu/Emulator.h"

namespace emu {

// Empty when the line was carried out, else what is wrong with it.
std::string ApplyControl(Manager& manager, const std::string& line);

// Carries out the control file at path, if there is one, and deletes it. Its writer makes it
// whole (writes another name, then renames it), so a file that exists is complete. Returns a
// note per line: "control: LINE" or "control error: WHAT".
std::vector<std::string> RunControlFile(Manager& manager, const std::string& path);

}  // namespace emu
