#pragma once
// The command line of the Linux program: a command, its arguments and options, in any order.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// Exit codes, one per kind of failure a script may want to tell apart.
enum ExitCode : int {
    kExitOk = 0,
    kExitFailed = 1,        // the drive refused or the command did not succeed
    kExitUsage = 2,         // the command line is wrong
    kExitNoDevice = 3,      // no such device, or no drive at all
    kExitNoPermission = 4,  // the device may not be opened or the command may not be sent
    kExitFile = 5,          // a scenario, the settings or an output file cannot be read or written
};

struct Options {
    std::string command;
    std::vector<std::string> arguments;
    std::map<std::string, std::string> values;  // options with a value, by name without dashes
    std::map<std::string, bool> flags;          // options without one

    bool Flag(const std::string& name) const { return flags.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
};

// Empty error on success; otherwise what is wrong ("unknown option --foo").
struct ParseResult {
    Options options;
    std::string error;
};
ParseResult ParseOptions(const std::vector<std::string>& arguments);

// The usage text.
std::string UsageText();

}  // namespace cli
