#pragma once
// The Linux program's entry: parses the command line, starts the session and runs the command.
#include <string>
#include <vector>

namespace cli {

// arguments without the program name; returns the exit code.
int RunCli(const std::vector<std::string>& arguments);

}  // namespace cli
