// Speed tables: built-in, detected by probing downward and upward, loaded from text.
#include <algorithm>

#include "drive/CDROMCommands.h"
#include "drive/CDROMTestSupport.h"

using emu::MakeCdromDrive;

namespace {

using Steps = std::vector<std::pair<uint32_t, uint32_t>>;

// Steps as (lowest request, reported KB/s); the fastest one's speed is also the default maximum.
std::shared_ptr<emu::CdromDrive> SteppedDrive(const Steps& steps, const char* vendor = "ACME    ",
                                              const char* product = "FAST CD 48      ", const char* revision = "1.00")
{
    auto device = MakeCdromDrive(vendor, product, revision);
    emu::Capabilities caps;
    caps.maxReadKBps = uint16_t(steps.back().second);
    device->modePages().setPage(emu::CapabilitiesPage(caps));
    device->setSpeedModel(emu::MmcSteps(steps));
    return device;
}

const Steps kFourSteps = {{0, 706}, {1400, 1411}, {2800, 2822}, {6475, 7056}};

std::string Group(int factor, int setSpeed, int reported)
{
    TSpeedZoneInfo one;
    one.Add(factor, setSpeed, reported);
    return one.SaveToText();
}

// What a downward scan must find: each step's lowest request (the slowest step by its report).
std::string DownwardTable(const Steps& steps)
{
    std::string text;
    for (size_t i = steps.size(); i-- > 1;) {
        const int request = int(steps[i].first);
        const int reported = int(steps[i].second);
        text += Group(std::max(request, reported) / 176, request, reported);
    }
    return text + Group(int(steps[0].second) / 176, int(steps[0].second), int(steps[0].second));
}

// What an upward scan must find: each step's highest request (the fastest step by its report).
std::string UpwardTable(const Steps& steps)
{
    const int top = int(steps.back().second);
    std::string text = Group(top / 176, top, top);
    for (size_t i = steps.size() - 1; i-- > 0;) {
        const int request = int(steps[i + 1].first) - 1;
        const int reported = int(steps[i].second);
        text += Group(std::min(request, reported) / 176, request, reported);
    }
    return text;
}

int Speed(const std::vector<uint8_t>& cdb) { return cdb[2] * 256 + cdb[3]; }

}  // namespace

TEST_F(CDROMTest, ScansFindEveryStepAndRestoreTheSpeed)
{
    const struct {
        Steps steps;
        bool downward;
        int firstRequest;
    } cases[] = {
        {kFourSteps, true, 8467},  // 7056 * 120 / 100
        {kFourSteps, false, 264},
        {{{0, 1408}, {3500, 3520}, {6475, 7040}}, true, 8448},  // the top step reports more than requested
        {{{0, 4234}}, true, 5080},
    };
    uint8_t target = 0;
    for (const auto& c : cases) {
        auto device = SteppedDrive(c.steps);
        auto model = device->speedModel();
        model.current = c.steps.size() / 2;  // a middle step: neither scan ends there
        device->setSpeedModel(model);
        auto drive = Open(device, target++);
        EXPECT_TRUE(drive->DetectSpeedSteps(false, c.downward) && drive->SpeedTableValid);
        EXPECT_EQ(std::tuple(100, c.downward ? DownwardTable(c.steps) : UpwardTable(c.steps)),
                  std::tuple(drive->DetectionProgress.load(), drive->SpeedTableText()));
        const auto speeds = Cdbs(kSetCdSpeed);
        ASSERT_FALSE(speeds.empty());
        EXPECT_EQ(std::tuple(c.firstRequest, c.steps[c.steps.size() / 2].second), std::tuple(Speed(speeds.front()), EmulatedSpeed(*device)));
    }
    // The detected table then drives SET CD SPEED.
    auto drive = Open(SteppedDrive(kFourSteps), target);
    ASSERT_TRUE(drive->DetectSpeedSteps(false, false));
    EXPECT_TRUE(drive->SetCDSpeed(16));
    EXPECT_EQ(2822, drive->CurrentReadSpeed());
}

TEST_F(CDROMTest, OnlyMmcDrivesWithCapabilitiesPageDetect)
{
    // Plextor by family, NEC for lack of the page, WEARNES an MMC row without the page.
    const char* products[][2] = {{"PLEXTOR ", "CD-ROM PX-40TS  "}, {"NEC     ", "CD-ROM DRIVE:999"},
                                 {"WEARNES ", "CDD-620         "}};
    uint8_t target = 0;
    for (const auto& p : products) {
        auto drive = Open(MakeCdromDrive(p[0], p[1], "1.00"), target++);
        drive->DetectionProgress = 50;
        EXPECT_FALSE(drive->DetectSpeedSteps(false, true)) << p[0];
        EXPECT_TRUE(drive->DetectionProgress.load() == 100 && Cdbs(kSetCdSpeed).empty());
    }
}

TEST_F(CDROMTest, BuiltInAndStoredTables)
{
    auto mitsumi = Open(SteppedDrive(kFourSteps, "MITSUMI ", "CD-ROM FX320M !B", "m02 "));
    ASSERT_EQ(59, mitsumi->Model);
    EXPECT_TRUE(mitsumi->DetectSpeedSteps(true, true) && Cdbs().empty());
    EXPECT_EQ("002008F5160D" "000805830583" "000402C202C2" "000100B000B0", mitsumi->SpeedTableText());
    // Without the built-in table the drive is probed.
    EXPECT_TRUE(mitsumi->DetectSpeedSteps(false, true));
    EXPECT_EQ(DownwardTable(kFourSteps), mitsumi->SpeedTableText());

    EXPECT_FALSE(mitsumi->LoadSpeedTable("0024189C18C00010") || mitsumi->SpeedTableValid);  // a stored text cut short
    EXPECT_EQ(0, mitsumi->SpeedZones->Count());
    EXPECT_TRUE(mitsumi->LoadSpeedTable("") && mitsumi->SpeedZones->Count() == 0);
}
