// The program's commands against emulated drives, as a child process: exit codes and messages,
// the tables and JSON, and the settings a command leaves in the store.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/CliRun.h"

namespace {

using Args = std::vector<std::string>;

std::vector<std::string> Plus(Args head, const Args& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// The value line of a profile key in the settings file, "" when it is not there.
std::string ProfileValue(const std::string& store, const std::string& key, const std::string& name)
{
    const size_t section = store.find("[HKEY_CURRENT_USER\\SOFTWARE\\Brannwick\\Kalmor\\" + key + "]");
    if (section == std::string::npos) return "";
    const size_t end = store.find("\r\n\r\n", section);
    const size_t line = store.find("\"" + name + "\"=", section);
    if (line == std::string::npos || line > end) return "";
    return store.substr(line, store.find("\r\n", line) - line);
}

// The value of a "Label:   value" line.
std::string Field(const std::string& out, const std::string& label)
{
    const size_t line = out.find(label + ":");
    if (line == std::string::npos) return "<none>";
    const size_t value = out.find_first_not_of(' ', line + label.size() + 1);
    return out.substr(value, out.find('\n', value) - value);
}

TEST(CliCommandTest, ExitCodesAndMessagesSayWhatFailed)
{
    const Args emulated = {"--emulate", "default"};
    struct Case {
        Args arguments;
        int exitCode;
        const char* out;  // a part of stdout
        const char* err;  // a part of stderr
    };
    const Case cases[] = {
        {{}, 0, "Usage: kalmor", ""},
        {{"--help"}, 0, "daemon [--interval MS]", ""},
        {{"frobnicate"}, 2, "", "unknown command frobnicate"},
        {{"info"}, 2, "", "info takes 1 argument, not 0"},
        {{"list", "--force"}, 2, "", "option --force does not belong to list"},
        {{"--emulate"}, 2, "", "option --emulate needs a value"},
        {{"--emulate", "a", "--emulate-sgio", "b", "list"}, 2, "", "exclude each other"},
        {Plus(emulated, {"speed", "0", "fast"}), 2, "", "fast is no speed factor from 1 to 255"},
        {Plus(emulated, {"lock", "0", "256"}), 2, "", "neither a speed factor from 1 to 255 nor off"},
        {Plus(emulated, {"info", "7"}), 3, "", "no drive 7: kalmor list shows 3 drives"},
        {Plus(emulated, {"info", "HA1:ID5"}), 3, "", "no such device: HA1:ID5"},
        {{"--emulate-sgio", "default", "info", "/dev/sr3"}, 3, "", "no such device: /dev/sr3"},
        {{"--emulate", "/nonexistent.json", "list"}, 5, "", "cannot use the scenario: /nonexistent.json"},
        {{"--emulate", EmuScenario("no-adapters.json"), "list"}, 3, "", "no CD-ROM drive found"},
        {Plus(emulated, {"speed", "2", "8", "--streaming"}), 2, "", "--streaming is for MMC drives"},
        {Plus(emulated, {"timers", "2", "--idle", "60"}), 1, "", "HA1:ID4 has no idle timer that can be set"},
        {Plus(emulated, {"timers", "0", "--inactivity", "16"}), 2, "", "16 is not off nor a value from 0 to 15"},
        {Plus(emulated, {"speed", "1", "8", "--disc"}), 1, "", "no readable disc in HA0:ID2"},
        {Plus(emulated, {"measure", "1"}), 1, "contains no disc", ""},
        {Plus(emulated, {"lock", "0", "8", "--medium", "maybe"}), 2, "", "--medium maybe is neither on nor off"},
        {Plus(emulated, {"daemon", "--interval", "5"}), 2, "", "--interval 5 is not a number of ms from 10"},
        {Plus(emulated, {"daemon", "--ticks", "0"}), 2, "", "--ticks 0 is not a number from 1"},
        {Plus(emulated, {"daemon", "--ticks", "2", "--interval", "10"}), 0, "stopped after 2 ticks", ""},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& word : c.arguments) line += word + " ";
        SCOPED_TRACE(line);
        CliRun cli;
        const CliResult result = cli.Run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE(result.out.find(c.out), std::string::npos) << result.out;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
}

// The same drives through the emulated ASPI manager and as /dev/sr* devices through SG_IO.
TEST(CliCommandTest, ListsTheDrivesThroughEitherManager)
{
    CliRun cli;
    const CliResult aspi = cli.Run({"--emulate", "default", "--json", "list"});
    const CliResult sgio = cli.Run({"--emulate-sgio", "default", "--json", "list"});
    ASSERT_EQ(aspi.exitCode, 0) << aspi.err;
    ASSERT_EQ(sgio.exitCode, 0) << sgio.err;
    const auto a = nlohmann::json::parse(aspi.out), s = nlohmann::json::parse(sgio.out);
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(s.size(), 3u);
    const char* devices[][2] = {{"HA0:ID1", "/dev/sr0"}, {"HA0:ID2", "/dev/sr1"}, {"HA1:ID4", "/dev/sr2"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(a[i]["device"], devices[i][0]);
        EXPECT_EQ(s[i]["device"], devices[i][1]);
        for (const char* field : {"vendor", "product", "revision", "family", "model"}) EXPECT_EQ(a[i][field], s[i][field]);
    }
    EXPECT_EQ(a[2]["family"], "PLEXTOR");
    EXPECT_EQ(a[0]["model"], "Teac CD-532E");

    const CliResult table = cli.Run({"--emulate-sgio", "default", "list"});
    EXPECT_NE(table.out.find("2  /dev/sr2  PLEXTOR CD-ROM PX-40TS 1.01  PLEXTOR  UltraPlex 40max"), std::string::npos)
        << table.out;
}

TEST(CliCommandTest, InfoShowsIdentitySpeedAndTimers)
{
    CliRun cli;
    const CliResult result = cli.Run({"--emulate-sgio", "default", "--json", "info", "/dev/sr2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto info = nlohmann::json::parse(result.out);
    EXPECT_EQ(info["adapter"], "SG_IO-sr2");
    EXPECT_EQ(info["name"], "PLEXTOR PX-40TS");
    EXPECT_EQ(info["speed"], 42);
    EXPECT_EQ(info["zone"], "18x-42x CAV");
    EXPECT_EQ(info["daeZone"], "16x-24x PCAV");
    EXPECT_EQ(info["steps"], nlohmann::json::parse("[42,20,8,4,2,1]"));
    EXPECT_EQ(info["capabilities"]["plextorGameMode"], true);
    EXPECT_EQ(info["timers"]["plextorIdle"], false);
    EXPECT_FALSE(info.contains("setCdSpeed"));  // a vendor family's speed is no SET CD SPEED

    const CliResult text = cli.Run({"--emulate", "default", "info", "0"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    const std::pair<const char*, const char*> fields[] = {{"Family", "MMC"},
                                                          {"Speed steps", "32x 16x 4x"},
                                                          {"SET CD SPEED", "taken"},
                                                          {"Lock", "off"},
                                                          {"Inactivity timer", "8 min"}};
    for (const auto& [label, value] : fields) EXPECT_EQ(Field(text.out, label), value) << text.out;
}

TEST(CliCommandTest, SettingsGoToTheDriveAndThenIntoTheProfile)
{
    CliRun cli;
    const Args emulated = {"--emulate", "default"};
    struct Step {
        Args arguments;
        const char* out;
        const char* profile;
        std::vector<std::pair<const char*, const char*>> values;  // name, value line ("" absent)
    };
    const Step steps[] = {
        {{"speed", "0", "16"}, "HA0:ID1: 16x", "HA0_ID1\\Default",
         {{"Speed", "\"Speed\"=dword:00000010"}, {"LockSpeed", "\"LockSpeed\"=dword:ffffffff"}, {"LockSpeedStr", ""}}},
        {{"lock", "0", "4"}, "HA0:ID1: 4x, locked", "HA0_ID1\\Default",
         {{"Speed", "\"Speed\"=dword:00000004"}, {"LockSpeed", "\"LockSpeed\"=dword:00000004"},
          {"LockSpeedStr", "\"LockSpeedStr\"=\"4x\""}}},
        // Moving the speed of a locked drive moves its lock.
        {{"speed", "0", "32"}, "HA0:ID1: 32x, locked", "HA0_ID1\\Default",
         {{"LockSpeed", "\"LockSpeed\"=dword:00000020"}, {"LockSpeedStr", "\"LockSpeedStr\"=\"32x\""}}},
        {{"lock", "0", "off"}, "HA0:ID1: 32x", "HA0_ID1\\Default",
         {{"LockSpeed", "\"LockSpeed\"=dword:ffffffff"}, {"LockSpeedStr", ""}}},
        {{"timers", "0", "--inactivity", "5"}, "inactivity timer:  2 sec", "HA0_ID1\\Default",
         {{"Inactivity", "\"Inactivity\"=dword:00000005"}}},
        {{"timers", "0", "--inactivity", "off"}, "(the drive's own)", "HA0_ID1\\Default",
         {{"Inactivity", "\"Inactivity\"=dword:ffffffff"}}},
        {{"timers", "2", "--gamemode", "on"}, "gamemode:          on", "HA1_ID4\\Default",
         {{"PlextorGameMode", "\"PlextorGameMode\"=dword:00000001"}}},
        // A disc's own profile, named after the disc in the drive.
        {{"lock", "2", "8", "--disc"}, "HA1:ID4: 8x", "HA1_ID4\\Audio-CD/1A0209992A",
         {{"LockSpeed", "\"LockSpeed\"=dword:00000008"}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.arguments[0] + " " + step.arguments[1] + " " + step.arguments[2]);
        const CliResult result = cli.Run(Plus(emulated, step.arguments));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.out.find(step.out), std::string::npos) << result.out;
        const std::string store = cli.Store();
        std::string key = step.profile;
        if (key.find("Audio-CD") != std::string::npos) {
            const size_t at = store.find(key);
            ASSERT_NE(at, std::string::npos);
            key = store.substr(at, store.find(']', at) - at);
        }
        for (const auto& [name, line] : step.values) EXPECT_EQ(ProfileValue(store, key, name), line) << name;
    }
}

// A drive that takes SET CD SPEED but keeps its speed: info says so, speed hints at
// SET STREAMING, and --streaming moves it.
TEST(CliCommandTest, StreamingMovesADriveThatIgnoresSetCdSpeed)
{
    CliRun cli;
    const Args emulated = {"--emulate", TestScenario("streaming.json")};
    const CliResult info = cli.Run(Plus(emulated, {"info", "0"}));
    EXPECT_EQ(Field(info.out, "SET CD SPEED"), "ignored (the drive keeps its speed): set it with speed --streaming");
    const CliResult plain = cli.Run(Plus(emulated, {"speed", "0", "8"}));
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_NE(plain.out.find("HA0:ID0: 24x"), std::string::npos) << plain.out;
    EXPECT_NE(plain.err.find("kept 24x: it may ignore SET CD SPEED; try speed --streaming"), std::string::npos)
        << plain.err;
    const CliResult streamed = cli.Run(Plus(emulated, {"--json", "speed", "0", "8", "--streaming"}));
    ASSERT_EQ(streamed.exitCode, 0) << streamed.err;
    EXPECT_EQ(nlohmann::json::parse(streamed.out)["speed"], 8);
    EXPECT_EQ(ProfileValue(cli.Store(), "HA0_ID0\\Default", "Speed"), "\"Speed\"=dword:00000008");
}

}  // namespace
