// kalmor daemon as a child process on the default emulated system, acted on through the
// emulator's control file while it runs: a speed changed behind its back, discs taken out and
// put in, settings changed by another command, and the signal that ends it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "cli/CliRun.h"

namespace {

using Args = std::vector<std::string>;

const char kDemoDisc[] = R"({"velocity": 1300, "tracks": [{"type": "mode1", "length": 333000, "volumeId": "DEMO DATA"}]})";
const char kDiscId[] = "Daten-CD/\"DEMODATA\"/1D0332999";

class Daemon {
public:
    Daemon() { cli_.environment["WNASPI32_EMU_CONTROL"] = cli_.Folder() + "/control"; }

    CliRun& cli() { return cli_; }

    // Waits until the daemon has written line (a whole line) more often than count times.
    bool Says(const std::string& line, int count = 0)
    {
        return WaitFor([&] { return Count(cli_.OutputSoFar(), line) > count; }, 10000);
    }
    int Count(const std::string& out, const std::string& line) const
    {
        int n = 0;
        for (size_t at = out.find(line + "\n"); at != std::string::npos; at = out.find(line + "\n", at + 1))
            if (at == 0 || out[at - 1] == '\n') ++n;
        return n;
    }
    // Hands the emulator a control command, whole, as its readers expect.
    void Control(const std::string& line)
    {
        const std::string path = cli_.Folder() + "/control";
        std::ofstream(path + ".tmp") << line << "\n";
        std::rename((path + ".tmp").c_str(), path.c_str());
    }

private:
    CliRun cli_;
};

TEST(CliDaemonTest, KeepsLocksAndLoadsDiscProfilesUntilStopped)
{
    Daemon daemon;
    CliRun& cli = daemon.cli();
    const Args emulated = {"--emulate", "default"};
    // HA0:ID1 locked at 4x, 16x for its disc, medium changes watched; HA1:ID4 locked at 8x, not watched.
    for (const Args& command : {Args{"lock", "0", "16", "--disc"}, Args{"lock", "0", "4", "--medium", "on"},
                                Args{"lock", "2", "8"}}) {
        Args words = emulated;
        words.insert(words.end(), command.begin(), command.end());
        ASSERT_EQ(cli.Run(words).exitCode, 0) << command[0] << " " << command[1] << " " << command[2];
    }

    cli.Start({"--emulate", "default", "daemon", "--interval", "50"});
    ASSERT_TRUE(daemon.Says("kalmor daemon: 3 drives, every 50 ms; SIGTERM or SIGINT ends it")) << cli.OutputSoFar();
    EXPECT_NE(cli.OutputSoFar().find("HA0:ID1: profile \"Default\" loaded\nHA1:ID4: profile \"Default\" loaded\n"),
              std::string::npos);
    // The first check finds the disc in the watched drive, and its profile.
    ASSERT_TRUE(daemon.Says(std::string("HA0:ID1: disc inserted: ") + kDiscId));
    ASSERT_TRUE(daemon.Says(std::string("HA0:ID1: profile \"") + kDiscId + "\" loaded"));

    daemon.Control("eject 0 1");
    ASSERT_TRUE(daemon.Says("HA0:ID1: disc removed"));
    ASSERT_TRUE(daemon.Says("HA0:ID1: profile \"Default\" loaded", 1));
    daemon.Control("speed 0 1 5645");
    ASSERT_TRUE(daemon.Says("HA0:ID1: set back from 32x to its lock speed 4x")) << cli.OutputSoFar();
    daemon.Control(std::string("insert 0 1 ") + kDemoDisc);
    ASSERT_TRUE(daemon.Says(std::string("HA0:ID1: disc inserted: ") + kDiscId, 1));
    ASSERT_TRUE(daemon.Says(std::string("HA0:ID1: profile \"") + kDiscId + "\" loaded", 1));
    // The unwatched drive loses its disc unnoticed.
    daemon.Control("eject 1 4");
    ASSERT_TRUE(daemon.Says("emulator control: eject 1 4"));

    // Another command's new lock holds from the next check on, not the one the daemon loaded.
    ASSERT_EQ(cli.Run({"--emulate", "default", "lock", "0", "32", "--disc"}).exitCode, 0);
    ASSERT_TRUE(daemon.Says("settings file changed: reloaded")) << cli.OutputSoFar();
    daemon.Control("speed 0 1 706");
    EXPECT_TRUE(daemon.Says("HA0:ID1: set back from 4x to its lock speed 32x")) << cli.OutputSoFar();

    const CliResult result = cli.Stop();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("kalmor daemon: stopped by SIGTERM\n"), std::string::npos);
    for (const char* line : {"HA1:ID4: disc removed", "HA1:ID4: disc inserted"})
        EXPECT_EQ(result.out.find(line), std::string::npos) << line;
    EXPECT_EQ(daemon.Count(result.out, "HA1:ID4: profile \"Default\" loaded"), 2) << result.out;
}

}  // namespace
