#pragma once
// The profile a change of speed, lock or timers goes into: "Default", or with --disc the
// profile of the disc in the drive. Settings go to the drive first and to the store second.
#include <string>

#include "cli/Session.h"

namespace cli {

// Names the profile and, when it is stored, loads it (which applies it to the drive), so that
// saving it afterwards keeps its other values. kExitOk, or the code after a message.
int OpenProfile(Session& session, int drive, std::string& profile);

}  // namespace cli
