#include <gtest/gtest.h>

#include "settings/CommandLine.h"

namespace {

// One letter per option set, in a fixed order.
std::string Flags(const std::vector<std::string>& arguments)
{
    const CommandLineOptions o = ScanCommandLine(arguments);
    std::string flags;
    for (const auto& [on, letter] : {std::pair{o.startUp, 'S'}, {o.inactivity, 'I'}, {o.debug, 'D'}, {o.clear, 'C'},
                                      {o.quit, 'Q'}, {o.detect, 'T'}, {o.bb, 'B'}})
        if (on) flags += letter;
    return flags;
}

}  // namespace

TEST(CommandLine, OptionsMatchWholeInAnyCaseAnywhere)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, ""},
        {{"/StartUp", "-inactivity", "-debug", "-clear", "-q", "-detect", "-bb"}, "SIDCQTB"},
        {{"/STARTUP", "-CLEAR", "-Debug", "-InActivity", "-Detect", "-BB", "-QUIT"}, "SIDCQTB"},
        {{"-qu", "-quitx", "/StartUp2", "StartUp", "-de", " -debug", "-clear ", "--bb", "-b"}, ""},
        {{"C:\\data\\x.txt", "-debug", "/what", "-debug", "-q", "/StartUp", "-", ""}, "SDQ"},
    };
    for (const auto& [arguments, flags] : cases) EXPECT_EQ(Flags(arguments), flags) << testing::PrintToString(arguments);
}
