#pragma once
// The commands of the Linux program. Each runs on a started session and returns its exit code.
#include <string>

#include "cli/Session.h"

namespace cli {

int ListCommand(Session& session);
int InfoCommand(Session& session, int drive);
int SpeedCommand(Session& session, int drive, const std::string& factor);
int LockCommand(Session& session, int drive, const std::string& factor);
int TimersCommand(Session& session, int drive);
int DetectCommand(Session& session, int drive);
int MeasureCommand(Session& session, int drive);
int ReportCommand(Session& session);
int DaemonCommand(Session& session);

// A speed factor 1..255 from the command line; -1 when the text is none.
int ParseFactor(const std::string& text);

}  // namespace cli
