#include <gtest/gtest.h>

#include "settings/CommandLine.h"

TEST(CommandLine, NoArgumentsSetNothing)
{
    const CommandLineOptions o = ScanCommandLine({});
    EXPECT_FALSE(o.startUp || o.inactivity || o.debug || o.clear || o.quit || o.detect || o.bb);
}

TEST(CommandLine, EachOptionSetsItsOwnFlagOnly)
{
    const CommandLineOptions startUp = ScanCommandLine({"/StartUp"});
    EXPECT_TRUE(startUp.startUp);
    EXPECT_FALSE(startUp.inactivity || startUp.debug || startUp.clear || startUp.quit || startUp.detect || startUp.bb);

    EXPECT_TRUE(ScanCommandLine({"-inactivity"}).inactivity);
    EXPECT_TRUE(ScanCommandLine({"-debug"}).debug);
    EXPECT_TRUE(ScanCommandLine({"-clear"}).clear);
    EXPECT_TRUE(ScanCommandLine({"-detect"}).detect);
    EXPECT_TRUE(ScanCommandLine({"-bb"}).bb);

    const CommandLineOptions bb = ScanCommandLine({"-bb"});
    EXPECT_FALSE(bb.startUp || bb.inactivity || bb.debug || bb.clear || bb.quit || bb.detect);
}

TEST(CommandLine, BothQuitSpellingsQuit)
{
    EXPECT_TRUE(ScanCommandLine({"-q"}).quit);
    EXPECT_TRUE(ScanCommandLine({"-quit"}).quit);
    EXPECT_TRUE(ScanCommandLine({"-QUIT"}).quit);
}

TEST(CommandLine, CaseDoesNotMatter)
{
    const CommandLineOptions o = ScanCommandLine({"/startup", "-CLEAR", "-Debug", "-InActivity", "-Detect", "-BB"});
    EXPECT_TRUE(o.startUp && o.clear && o.debug && o.inactivity && o.detect && o.bb);
    EXPECT_TRUE(ScanCommandLine({"/STARTUP"}).startUp);
}

TEST(CommandLine, OptionsMatchOnlyWhole)
{
    const CommandLineOptions o =
        ScanCommandLine({"-qu", "-quitx", "/StartUp2", "StartUp", "-de", " -debug", "-clear ", "--bb", "-b"});
    EXPECT_FALSE(o.startUp || o.inactivity || o.debug || o.clear || o.quit || o.detect || o.bb);
}

TEST(CommandLine, AnywhereRepeatedAndAmongUnknowns)
{
    const CommandLineOptions o =
        ScanCommandLine({"C:\\data\\x.txt", "-debug", "/what", "-debug", "-q", "/StartUp", "-", ""});
    EXPECT_TRUE(o.debug);
    EXPECT_TRUE(o.quit);
    EXPECT_TRUE(o.startUp);
    EXPECT_FALSE(o.clear || o.inactivity || o.detect || o.bb);
}
