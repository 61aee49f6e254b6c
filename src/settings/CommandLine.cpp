#include "settings/CommandLine.h"

#include <algorithm>
#include <cctype>

namespace {

struct OptionRow {
    const char* name;
    bool CommandLineOptions::*flag;
};

const OptionRow kOptions[] = {
    {"/StartUp", &CommandLineOptions::startUp},
    {"-inactivity", &CommandLineOptions::inactivity},
    {"-debug", &CommandLineOptions::debug},
    {"-clear", &CommandLineOptions::clear},
    {"-q", &CommandLineOptions::quit},
    {"-quit", &CommandLineOptions::quit},
    {"-detect", &CommandLineOptions::detect},
    {"-bb", &CommandLineOptions::bb},
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

}  // namespace

CommandLineOptions ScanCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineOptions options;
    for (const std::string& argument : arguments) {
        const std::string lowered = Lower(argument);
        for (const OptionRow& option : kOptions) {
            if (lowered == Lower(option.name)) options.*option.flag = true;
        }
    }
    return options;
}
