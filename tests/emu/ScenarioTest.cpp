#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

#include "EmuTestHelpers.h"
#include "emu/CdromDrive.h"
#include "emu/Scenario.h"
#include "platform/host/Host.h"

using namespace emutest;

namespace {

const std::string kDir = KALMOR_SCENARIO_DIR;

std::shared_ptr<emu::Manager> Load(const std::string& name)
{
    emu::ScenarioResult result = emu::LoadScenario(kDir + "/" + name);
    EXPECT_EQ(result.error, "");
    return result.manager;
}

uint8_t DeviceType(emu::Manager& manager, uint8_t target)
{
    SRB_GDEVBlock srb{};
    srb.SRB_Cmd = SC_GET_DEV_TYPE;
    srb.SRB_Target = target;
    srb.SRB_DeviceType = 0x1F;
    return manager.sendCommand(&srb) == SS_COMP ? srb.SRB_DeviceType : 0xFF;
}

std::string ParseError(const std::string& text) { return emu::ParseScenario(text, "test.json").error; }

}  // namespace

TEST(Scenario, EveryShippedScenarioLoads)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kDir)) {
        if (entry.path().extension() != ".json") continue;
        EXPECT_EQ(emu::LoadScenario(entry.path().string()).error, "") << entry.path();
        ++count;
    }
    EXPECT_GE(count, 4);
}

// The built-in system is default.json's text compiled in. The demo and the measurement rely on
// its drives: a long data disc in a drive with CLV, PCAV and CAV steps, an empty drive, and a
// vendor-family drive with an audio CD long enough to be measured.
TEST(Scenario, BuiltInDefaultHoldsTheDemoDrives)
{
    platform::host::Reset();
    auto builtIn = emu::DefaultScenario();
    ASSERT_TRUE(builtIn);
    builtIn->setCompletion(emu::Completion::Synchronous);
    EXPECT_EQ(builtIn->getSupportInfo(), 0x0102u);
    EXPECT_EQ(DeviceType(*builtIn, 0), 0);
    EXPECT_EQ(SendIn(*builtIn, 1, {0x12, 0, 0, 0, 96, 0}, 96).status, SS_COMP);
    auto drive = [&](uint8_t ha, uint8_t id) {
        return std::dynamic_pointer_cast<emu::CdromDrive>(builtIn->device(ha, id, 0));
    };
    const auto data = drive(0, 1), empty = drive(0, 2), audio = drive(1, 4);
    ASSERT_TRUE(data && empty && audio && data->medium() && audio->medium());
    EXPECT_TRUE(data->medium()->blockCount() >= 300000u && !empty->medium() && audio->medium()->blockCount() >= 135000u);
    std::set<emu::RotationKind> kinds;
    for (const emu::SpeedStep& step : data->speedModel().steps) kinds.insert(step.rotation.kind);
    EXPECT_EQ(kinds, (std::set<emu::RotationKind>{emu::RotationKind::Clv, emu::RotationKind::Cav, emu::RotationKind::Pcav}));
}

TEST(Scenario, FaultScenariosCarryTheirFaults)
{
    platform::host::Reset();
    auto faults = Load("mode-sense-faults.json");
    ASSERT_TRUE(faults);
    const auto sense10 = [&](uint8_t target, uint8_t page) { return SendIn(*faults, target, {0x5A, 0, page, 0, 0, 0, 0, 4, 0, 0}, 1024); };
    EXPECT_EQ((std::vector<uint8_t>{sense10(0, 0x2A).srb.SenseArea[12], sense10(1, 0x2A).data[9], sense10(2, 0x2A).data[0], sense10(3, 0x3F).data[8]}),
              (std::vector<uint8_t>{0x20, 0x09, 14, 0x2A}));

    auto hung = Load("hung-drive.json");
    ASSERT_TRUE(hung);
    hung->setCompletion(emu::Completion::Synchronous);
    auto attention = SendIn(*hung, 0, {0x12, 0, 0, 0, 36, 0}, 36);
    EXPECT_EQ(std::tuple(attention.srb.SenseArea[0], attention.srb.SenseArea[2]), std::tuple(uint8_t(0xF0), uint8_t(6)));
    EXPECT_EQ(SendIn(*hung, 1, {0x12, 0, 0, 0, 36, 0}, 36).status, SS_PENDING);

    auto none = Load("no-adapters.json");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->getSupportInfo(), 0xE800u);
}

TEST(Scenario, ErrorsNameTheFileAndTheField)
{
    const std::string at = "test.json: field hostAdapters[0].targets[0].";
    const auto step = [](const std::string& step, const std::string& disc = "") {
        return R"({"hostAdapters": [{"targets": [{"id": 0, "speed": {"steps": [)" + step + "]}" + disc + "}]}]}";
    };
    const std::pair<std::string, std::string> cases[] = {
        {"{\n  \"hostAdapters\": [\n    {\"identifier\": \"A\",}\n  ]\n}", "test.json: malformed JSON at line 3, column 24"},
        {R"({"hostAdapters": [{"targets": [{"id": 1, "inquiry": {"vendr": "X"}}]}]})", at + "inquiry.vendr: unknown field"},
        {R"({"hostAdapters": [{}, {"targets": [{"id": 1, "inquiry": {"ansiVersion": 9}}]}]})",
         "test.json: field hostAdapters[1].targets[0].inquiry.ansiVersion: value 9 out of range 0..7"},
        {R"({"hostAdapters": [{}, {"targets": [{"id": 1}, {"id": 2, "blocks": 1e1111}]}]})",
         "test.json: field hostAdapters[1].targets[1].blocks: number overflow parsing '1e1111'"},
        {"[1e1111]", "test.json: field [0]: number overflow parsing '1e1111'"},
        {R"({"completion": "later"})", "test.json: field completion: expected one of \"synchronous\", \"event\""},
        {R"({"hostAdapters": [{"unique": "01 0G"}]})",
         "test.json: field hostAdapters[0].unique: not a string of hexadecimal bytes at character 4"},
        {R"({"hostAdapters": [{"targets": [{"id": 1}, {"id": 1}]}]})",
         "test.json: field hostAdapters[0].targets[1].id: target id and LUN already used by hostAdapters[0].targets[0]"},
        {R"({"hostAdapters": [{"targets": [{"id": 1, "mode": {"pages": [{"current": "2A 02 00 00", "saved": "0D 02 00 00"}]}}]}]})",
         at + "mode.pages[0].saved: page code or length differs from the current page"},
        // Rotations of speed steps and the disc's scanning velocity.
        {step(R"({"rotation": {"kind": "CAV", "from": 14, "to": 32}, "audioRotation": {"kind": "PCAV", "from": 16, "to": 24}})"), ""},
        {step(R"({"rotation": {"kind": "ZCLV", "factor": 8}})"), at + R"(speed.steps[0].rotation.kind: expected one of "CLV", "CAV", "PCAV")"},
        {step(R"({"rotation": {"kind": "CLV"}})"), at + "speed.steps[0].rotation.factor: missing"},
        {step(R"({"rotation": {"kind": "CLV", "factor": 8, "to": 9}})"), at + "speed.steps[0].rotation.to: unknown field"},
        {step(R"({"rotation": {"kind": "CLV", "factor": 73}})"), at + "speed.steps[0].rotation.factor: value 73 out of range 1..72"},
        {step(R"({"rotation": {"kind": "PCAV", "from": 24, "to": 16}})"), at + "speed.steps[0].rotation.to: value 16 out of range 25..72"},
        {step(R"({"audioRotation": {"kind": "CLV", "factor": 8}})"), at + "speed.steps[0].audioRotation: the step needs a rotation as well"},
        {step("{}", R"(, "disc": {"velocity": 1100})"), at + "disc.velocity: value 1100 out of range 1200..1400"},
    };
    for (const auto& [text, error] : cases) EXPECT_EQ(ParseError(text), error) << text;

    // A file's errors carry its path.
    const std::string missing = kDir + "/no-such-scenario.json";
    EXPECT_EQ(emu::LoadScenario(missing).error, missing + ": cannot read the file");
    EXPECT_EQ(emu::LoadScenario(missing).manager, nullptr);
    const auto path = std::filesystem::temp_directory_path() / ("emu-scenario-test-" + std::to_string(getpid()) + ".json");
    std::ofstream(path) << "{\"hostAdapters\": [{\"scsiId\": 99}]}";
    EXPECT_EQ(emu::LoadScenario(path.string()).error, path.string() + ": field hostAdapters[0].scsiId: value 99 out of range 0..15");
    std::filesystem::remove(path);
}

// Files the user names could be devices or FIFOs that never end, or too large to hold.
TEST(Scenario, OnlyRegularFilesOfASaneSizeAreRead)
{
    EXPECT_EQ(emu::LoadScenario("/dev/zero").error, "/dev/zero: not a regular file");

    const auto dir = std::filesystem::temp_directory_path() / ("emu-scenario-files-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directory(dir);
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = (dir / "huge.iso").string();
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, (1ull << 30) + 1);  // sparse: nothing is written
    const struct {
        std::string image;
        std::string problem;
    } cases[] = {
        {"/dev/zero", "not a regular file"},
        {fifo, "not a regular file"},
        {dir.string(), "not a regular file"},
        {(dir / "missing.iso").string(), "cannot read the file"},
        {huge, "larger than 1073741824 bytes"},
    };
    for (const auto& c : cases) {
        const std::string scenario =
            R"({"hostAdapters": [{"targets": [{"id": 0, "disc": {"tracks": [{"image": ")" + c.image + R"("}]}}]}]})";
        EXPECT_EQ(ParseError(scenario),
                  "test.json: field hostAdapters[0].targets[0].disc.tracks[0].image: " + c.image + ": " + c.problem);
    }
    EXPECT_EQ(emu::LoadScenario(fifo).error, fifo + ": not a regular file");
    std::filesystem::remove_all(dir);
}
