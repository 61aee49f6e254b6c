#pragma once
// Program start of the settings store and the autostart entry under the per-user Run key.
#include <string>
#include <vector>

#include "settings/CommandLine.h"

// What the Run entry holds: the program's file name, a blank and "/StartUp".
std::string AutostartCommand();

// Before any window exists: resets the store's globals, takes the options it reads from
// the arguments (1..n), checks the version stamps (clearing with "-clear"), gives an unset
// start mode its first value and keeps an existing Run entry in step with the start mode.
// Returns all options for the main window.
CommandLineOptions StartSettingsStore(const std::vector<std::string>& arguments);

// On: writes the Run entry and reports whether it reads back as written. Off: removes it
// and reports whether it is gone.
bool SetAutostart(bool on);
