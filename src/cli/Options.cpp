#include "cli/Options.h"

#include <algorithm>

namespace cli {

namespace {

// Every option, whether it takes a value, and the commands it belongs to ("*": all).
struct OptionRow {
    const char* name;
    bool value;
    const char* commands;
};
const OptionRow kOptions[] = {
    {"json", false, "*"},
    {"emulate", true, "*"},
    {"emulate-sgio", true, "*"},
    {"help", false, "*"},
    {"disc", false, "speed lock timers"},
    {"streaming", false, "speed"},
    {"standby", true, "timers"},
    {"inactivity", true, "timers"},
    {"idle", true, "timers"},
    {"plextor-idle", true, "timers"},
    {"gamemode", true, "timers"},
    {"force", false, "detect"},
    {"plot", true, "measure"},
    {"bb", false, "report"},
    {"output", true, "report"},
    {"interval", true, "daemon"},
    {"ticks", true, "daemon"},
    {"medium", true, "lock"},
};

// The commands and their argument counts.
struct CommandRow {
    const char* name;
    size_t arguments;
};
const CommandRow kCommands[] = {
    {"list", 0}, {"info", 1}, {"speed", 2}, {"lock", 2}, {"timers", 1},
    {"detect", 1}, {"measure", 1}, {"report", 0}, {"daemon", 0},
};

const OptionRow* FindOption(const std::string& name)
{
    for (const OptionRow& row : kOptions)
        if (name == row.name) return &row;
    return nullptr;
}

bool BelongsTo(const OptionRow& option, const std::string& command)
{
    const std::string commands = std::string(" ") + option.commands + " ";
    return commands == " * " || commands.find(" " + command + " ") != std::string::npos;
}

}  // namespace

std::optional<std::string> Options::Value(const std::string& name) const
{
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

ParseResult ParseOptions(const std::vector<std::string>& arguments)
{
    ParseResult result;
    Options& options = result.options;
    std::vector<std::pair<std::string, std::string>> given;  // name, value
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string word = arguments[i];
        if (word == "-o") word = "--output";
        if (word == "-h") word = "--help";
        if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
            if (options.command.empty()) options.command = word;
            else options.arguments.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> value;
        if (const size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const OptionRow* row = FindOption(name);
        if (!row) {
            result.error = "unknown option --" + name;
            return result;
        }
        if (row->value && !value) {
            if (i + 1 == arguments.size()) {
                result.error = "option --" + name + " needs a value";
                return result;
            }
            value = arguments[++i];
        }
        if (!row->value && value) {
            result.error = "option --" + name + " takes no value";
            return result;
        }
        given.emplace_back(name, value.value_or(""));
    }
    if (options.command.empty()) options.command = "help";
    for (const auto& [name, value] : given) {
        if (name != "help" && !BelongsTo(*FindOption(name), options.command)) {
            result.error = "option --" + name + " does not belong to " + options.command;
            return result;
        }
        if (FindOption(name)->value) options.values[name] = value;
        else options.flags[name] = true;
    }
    if (options.Flag("help") || options.command == "help") {
        options.command = "help";
        return result;
    }
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const CommandRow& row) { return options.command == row.name; });
    if (command == std::end(kCommands)) {
        result.error = "unknown command " + options.command;
    } else if (options.arguments.size() != command->arguments) {
        result.error = options.command + " takes " + std::to_string(command->arguments) + " argument" +
                       (command->arguments == 1 ? "" : "s") + ", not " + std::to_string(options.arguments.size());
    } else if (options.values.count("emulate") && options.values.count("emulate-sgio")) {
        result.error = "--emulate and --emulate-sgio exclude each other";
    }
    return result;
}

std::string UsageText()
{
    return "Usage: kalmor [--emulate SCENARIO.json | --emulate-sgio SCENARIO.json] [--json] COMMAND ...\n"
           "\n"
           "  list                          the CD-ROM drives (DEV: a device path or a number from this list)\n"
           "  info DEV                      identity, family, model, capabilities, speed, timers\n"
           "  speed DEV N [--streaming]     set the read speed to N x (--streaming: SET STREAMING)\n"
           "  lock DEV N|off [--medium on|off]\n"
           "                                keep the drive at N x (the daemon sets it back);\n"
           "                                --medium: the daemon loads each new disc's profile\n"
           "  timers DEV [--standby S|off] [--inactivity CODE|off] [--idle S|off]\n"
           "             [--plextor-idle on|off] [--gamemode on|off]\n"
           "                                show or set the timers and the Plextor features\n"
           "  detect DEV [--force]          find the speed steps (--force: probe the drive)\n"
           "  measure DEV [--plot FILE.svg] measure every speed step\n"
           "  report [--bb] [-o FILE]       the drive report (German)\n"
           "  daemon [--interval MS]        keep locked speeds and load disc profiles until stopped\n"
           "         [--ticks N]            (for tests and scripts: end after N checks)\n"
           "\n"
           "speed, lock and timers store the settings in the profile \"Default\", or with --disc in the\n"
           "profile of the disc in the drive. Settings: $XDG_CONFIG_HOME/kalmor/kalmor.reg.\n"
           "--emulate runs against emulated drives (\"default\" for the built-in system); --emulate-sgio\n"
           "shows them as /dev/sr* devices reached through SG_IO.\n"
           "Exit codes: 0 done, 1 failed, 2 usage, 3 no such device, 4 no permission, 5 file error.\n";
}

}  // namespace cli
