// Speed tables: built-in, detected by probing downward and upward, loaded from text.
#include <algorithm>

#include "drive/CDROMCommands.h"
#include "drive/CDROMTestSupport.h"

using emu::Capabilities;
using emu::CapabilitiesPage;
using emu::MakeCdromDrive;
using emu::MmcSteps;

namespace {

// Steps as (lowest request, reported KB/s); the fastest one's speed is also the default maximum.
std::shared_ptr<emu::CdromDrive> SteppedDrive(const std::vector<std::pair<uint32_t, uint32_t>>& steps,
                                              const char* vendor = "ACME    ", const char* product = "FAST CD 48      ",
                                              const char* revision = "1.00")
{
    auto device = MakeCdromDrive(vendor, product, revision);
    Capabilities caps;
    caps.maxReadKBps = uint16_t(steps.back().second);
    device->modePages().setPage(CapabilitiesPage(caps));
    device->setSpeedModel(MmcSteps(steps));
    return device;
}

using Steps = std::vector<std::pair<uint32_t, uint32_t>>;

const Steps kFourSteps = {{0, 706}, {1400, 1411}, {2800, 2822}, {6475, 7056}};

std::string Group(int factor, int setSpeed, int reported)
{
    TSpeedZoneInfo one;
    one.Add(factor, setSpeed, reported);
    return one.SaveToText();
}

// What a downward scan must find on a drive with these steps: each step's lowest request (the
// slowest step by its report).
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

}  // namespace

TEST_F(CDROMTest, DownwardScanFindsEveryStepAndRestoresTheSpeed)
{
    auto device = SteppedDrive(kFourSteps);
    auto model = device->speedModel();
    model.current = 1;  // the drive runs at 1411 KB/s before the detection
    device->setSpeedModel(model);
    auto drive = Open(device);
    EXPECT_TRUE(drive->DetectSpeedSteps(true, true));
    EXPECT_TRUE(drive->SpeedTableValid);
    EXPECT_EQ(100, drive->DetectionProgress.load());
    EXPECT_EQ(DownwardTable(kFourSteps), drive->SpeedTableText());

    const auto speeds = Cdbs(kSetCdSpeed);
    ASSERT_FALSE(speeds.empty());
    EXPECT_EQ(8467, speeds.front()[2] * 256 + speeds.front()[3]);  // 7056 * 120 / 100
    EXPECT_EQ(1411, speeds.back()[2] * 256 + speeds.back()[3]);
    EXPECT_EQ(1411u, EmulatedSpeed(*device));
}

TEST_F(CDROMTest, UpwardScanFindsEveryStepAndRestoresTheSpeed)
{
    auto device = SteppedDrive(kFourSteps);
    auto drive = Open(device);
    EXPECT_TRUE(drive->DetectSpeedSteps(false, false));
    EXPECT_EQ(UpwardTable(kFourSteps), drive->SpeedTableText());
    EXPECT_EQ(264, Cdbs(kSetCdSpeed).front()[2] * 256 + Cdbs(kSetCdSpeed).front()[3]);
    EXPECT_EQ(7056u, EmulatedSpeed(*device));
    EXPECT_EQ(100, drive->DetectionProgress.load());
    // The detected table then drives SET CD SPEED.
    EXPECT_TRUE(drive->SetCDSpeed(16));
    EXPECT_EQ(2822, drive->CurrentReadSpeed());
}

TEST_F(CDROMTest, TopStepReportingMoreThanRequested)
{
    const Steps steps = {{0, 1408}, {3500, 3520}, {6475, 7040}};
    auto device = SteppedDrive(steps);
    auto drive = Open(device);
    EXPECT_TRUE(drive->DetectSpeedSteps(false, true));
    EXPECT_EQ(DownwardTable(steps), drive->SpeedTableText());
    EXPECT_EQ(6475, drive->SpeedZones->LookupSetSpeed(40));
}

TEST_F(CDROMTest, DriveWithOneStepGivesOneEntry)
{
    auto drive = Open(SteppedDrive({{0, 4234}}));
    EXPECT_TRUE(drive->DetectSpeedSteps(false, true));
    EXPECT_EQ(1, drive->SpeedZones->Count());
    EXPECT_EQ(24, drive->SpeedZones->Factor(0));
    EXPECT_EQ(4234, drive->SpeedZones->ReportedSpeed(0));
}

TEST_F(CDROMTest, OnlyMmcDrivesDetect)
{
    auto plextor = Open(MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00"), 0);
    plextor->DetectionProgress = 50;
    EXPECT_FALSE(plextor->DetectSpeedSteps(false, true));
    EXPECT_EQ(100, plextor->DetectionProgress.load());

    // A drive is of the NEC family only when it has no capabilities page.
    auto necDrive = Open(MakeCdromDrive("NEC     ", "CD-ROM DRIVE:999", "1.00"), 1);
    ASSERT_EQ("NEC", necDrive->FamilyName());
    EXPECT_FALSE(necDrive->DetectSpeedSteps(true, true));
    EXPECT_TRUE(Cdbs().empty());

    // An MMC drive (by its row) without a capabilities page cannot be probed.
    auto wearnes = Open(MakeCdromDrive("WEARNES ", "CDD-620         ", "1.00"), 2);
    ASSERT_EQ("MMC", wearnes->FamilyName());
    EXPECT_FALSE(wearnes->DetectSpeedSteps(false, true));
    EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());
    EXPECT_EQ(100, wearnes->DetectionProgress.load());
}

TEST_F(CDROMTest, BuiltInTableByModelAndRevision)
{
    auto mitsumi = Open(SteppedDrive(kFourSteps, "MITSUMI ", "CD-ROM FX320M !B", "m02 "), 0);
    ASSERT_EQ(59, mitsumi->Model);
    EXPECT_TRUE(mitsumi->DetectSpeedSteps(true, true));
    EXPECT_TRUE(Cdbs().empty());
    EXPECT_EQ("002008F5160D" "000805830583" "000402C202C2" "000100B000B0", mitsumi->SpeedTableText());
    // Without the built-in table the drive is probed.
    EXPECT_TRUE(mitsumi->DetectSpeedSteps(false, true));
    EXPECT_EQ(DownwardTable(kFourSteps), mitsumi->SpeedTableText());

    auto upper = Open(SteppedDrive(kFourSteps, "MITSUMI ", "CD-ROM FX320M !B", "M02 "), 1);
    EXPECT_TRUE(upper->DetectSpeedSteps(true, true));
    EXPECT_FALSE(Cdbs(kSetCdSpeed).empty());
}

TEST_F(CDROMTest, SpeedTableTexts)
{
    auto drive = Open(SteppedDrive(kFourSteps));
    EXPECT_TRUE(drive->LoadSpeedTable(""));
    EXPECT_EQ(0, drive->SpeedZones->Count());
    EXPECT_TRUE(drive->LoadSpeedTable("0024189c18C0"));
    EXPECT_EQ("0024189C18C0", drive->SpeedTableText());
    EXPECT_FALSE(drive->LoadSpeedTable("0024189C18C00010"));  // a stored text cut short
    EXPECT_FALSE(drive->SpeedTableValid);
    EXPECT_EQ(0, drive->SpeedZones->Count());
    EXPECT_FALSE(drive->LoadSpeedTable("0024189C18C0" "00G015E01600"));
    EXPECT_EQ(0, drive->SpeedZones->Count());
    EXPECT_TRUE(drive->LoadSpeedTable("0024189C18C0"));
    drive->ClearSpeedTable();
    EXPECT_FALSE(drive->SpeedTableValid);
    EXPECT_EQ("", drive->SpeedTableText());
}
