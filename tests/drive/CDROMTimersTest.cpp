// Timers, Plextor features and the report probes.
#include "drive/CDROMCommands.h"
#include "drive/CDROMTestSupport.h"

using emu::CapabilitiesPage;
using emu::MakeCdromDrive;
using emu::PageWithMask;

namespace {

std::shared_ptr<emu::CdromDrive> TimerDrive(uint8_t inactivity, uint8_t inactivityMask,
                                            std::vector<std::pair<int, uint8_t>> powerMask)
{
    auto device = MakeCdromDrive("ACME    ", "TIMER CD        ", "1.00");
    device->modePages().setPage(CapabilitiesPage({}));
    device->modePages().setPage(PageWithMask(0x0D, 8, {{3, inactivity}}, {{3, inactivityMask}}));
    device->modePages().setPage(PageWithMask(0x1A, 12, {{7, 0x64}, {11, 0xC8}}, powerMask));
    return device;
}

std::vector<uint8_t> Bytes(const std::vector<uint8_t>& list, int page, int first, int count)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; ++i) bytes.push_back(uint8_t(SelectedPageByte(list, true, uint8_t(page), first + i)));
    return bytes;
}

}  // namespace

TEST_F(CDROMTest, InactivityKeepsTheHighNibbleAndHonoursTheMask)
{
    auto refusing = Open(TimerDrive(0x25, 0xF0, {}), 0);
    EXPECT_FALSE(refusing->SetInactivity(9));
    EXPECT_TRUE(ModeSelects().empty());

    auto drive = Open(TimerDrive(0x25, 0x0F, {}), 1);
    EXPECT_TRUE(drive->SetInactivity(9));
    ASSERT_EQ(1u, ModeSelects().size());
    EXPECT_EQ(std::tuple(0x29, 0x29, 0x25),
              std::tuple(SelectedPageByte(ModeSelects()[0], true, 0x0D, 3), drive->GetInactivity(false), drive->GetInactivity(true)));
    EXPECT_EQ("32 Min|[FEHLER]|[FEHLER]",
              TCDROM::InactivityName(15) + "|" + TCDROM::InactivityName(16) + "|" + TCDROM::InactivityName(-1));
}

TEST_F(CDROMTest, PowerTimersInTenthsUnderTheMask)
{
    auto narrow = Open(TimerDrive(0, 0, {{7, 0xFF}}), 0);
    EXPECT_EQ(std::tuple(10, 20, 25), std::tuple(narrow->GetIdle(false), narrow->GetStandby(false), narrow->GetIdleLimit()));  // limit 0xFF / 10
    EXPECT_FALSE(narrow->SetIdle(30));
    EXPECT_TRUE(ModeSelects().empty());

    auto wide = Open(TimerDrive(0, 0, {{6, 0xFF}, {7, 0xFF}, {8, 0xFF}, {9, 0xFF}, {10, 0xFF}, {11, 0xFF}}), 1);
    EXPECT_TRUE(wide->SetIdle(30));
    ASSERT_EQ(1u, ModeSelects().size());
    EXPECT_EQ((std::vector<uint8_t>{0x00, 0x00, 0x01, 0x2C}), Bytes(ModeSelects()[0], 0x1A, 4, 4));
    EXPECT_EQ((std::vector<uint8_t>{0x00, 0x00, 0x00, 0xC8}), Bytes(ModeSelects()[0], 0x1A, 8, 4));
    EXPECT_EQ(30, wide->GetIdle(false));
    EXPECT_FALSE(wide->SetIdle(-1));
    EXPECT_FALSE(wide->SetIdle(214748365));  // ten times that does not fit 31 bits
    EXPECT_TRUE(wide->SetStandby(214748364));
    EXPECT_EQ((std::vector<uint8_t>{0x7F, 0xFF, 0xFF, 0xFF}), Bytes(ModeSelects().back(), 0x1A, 8, 4));
    EXPECT_TRUE(wide->SetStandby(214748363));
    EXPECT_EQ(214748363, wide->GetStandby(false));
}

TEST_F(CDROMTest, TimersOfPagesTooShortAreUnavailable)
{
    auto device = MakeCdromDrive("ACME    ", "SHORT PAGES     ", "1.00");
    device->modePages().setPage(CapabilitiesPage({}));
    device->modePages().setPage(PageWithMask(0x0D, 3, {}, {}));
    device->modePages().setPage(PageWithMask(0x1A, 10, {}, {{7, 0xFF}}));
    auto drive = Open(device);
    EXPECT_EQ(std::tuple(-1, -1, 0, -1, -1), std::tuple(drive->GetInactivity(false), drive->GetInactivityMask(), drive->GetIdle(false),
                                                      drive->GetStandby(false), drive->GetStandbyLimit()));
    EXPECT_FALSE(drive->SetInactivity(3) || drive->SetStandby(10));
    EXPECT_TRUE(ModeSelects().empty());
}

TEST_F(CDROMTest, PlextorFeaturesByModel)
{
    auto plextor = [](const char* product) {
        auto device = MakeCdromDrive("PLEXTOR ", product, "1.00");
        device->modePages().setPage(PageWithMask(0x31, 8, {{3, 0x04}}, {{3, 0x05}}));
        return device;
    };
    auto px8 = Open(plextor("CD-ROM PX-8XCS  "), 0);
    bool on = true;
    EXPECT_FALSE(px8->GetPlextorSpeedMode(on) || px8->SetPlextorIdle(true));
    EXPECT_TRUE(Cdbs().empty());

    auto px12 = Open(plextor("CD-ROM PX-12TS  "), 1);
    EXPECT_FALSE(px12->GetPlextorIdle(on));
    EXPECT_TRUE(Cdbs().empty());
    EXPECT_TRUE(px12->GetPlextorSpeedMode(on) && !on);

    auto px40 = Open(plextor("CD-ROM PX-40TS  "), 2);
    EXPECT_TRUE(px40->GetPlextorIdle(on) && !on);  // bit 2 set: idle off
    EXPECT_TRUE(px40->SetPlextorIdle(true) && px40->SetPlextorSpeedMode(true));
    ASSERT_EQ(2u, ModeSelects().size());
    EXPECT_EQ(std::tuple(0x00, 0x01), std::tuple(SelectedPageByte(ModeSelects()[0], true, 0x31, 3), SelectedPageByte(ModeSelects()[1], true, 0x31, 3)));
}

TEST_F(CDROMTest, ReportProbesSendTheirCdbsAndFailWithoutTheFeatures)
{
    auto device = MakeCdromDrive("ACME    ", "PROBED CD       ", "1.00");
    device->modePages().setPage(CapabilitiesPage({}));
    auto model = emu::MmcSteps({{0, 7056}});
    model.features = {{0x0010, {0, 0, 0, 0}}, {0x002E, {}}};  // a mastering descriptor cut short
    model.mechanismStatus = false;
    device->setSpeedModel(model);
    auto drive = Open(device);
    int32_t state = -1;
    int32_t lba = -1;
    uint8_t descriptor[8] = {};
    EXPECT_FALSE(drive->MechanismStatus(state, lba) || drive->RealTimeStreamingFeature() ||
                 drive->CdMasteringFeature(descriptor) || drive->PerformanceProbe());

    model.features = {{0x0107, {0, 0, 0, 0}}, {0x002E, {0x5A, 1, 2, 3}}};
    model.performanceDescriptors = 1;
    model.mechanismStatus = true;
    model.mechanismState = 1;
    model.mechanismLba = 0x012345;
    device->setSpeedModel(model);
    manager_->clearLog();
    ASSERT_TRUE(drive->MechanismStatus(state, lba));
    EXPECT_EQ(std::tuple(1, 0x012345), std::tuple(state, lba));
    EXPECT_TRUE(drive->RealTimeStreamingFeature());
    ASSERT_TRUE(drive->CdMasteringFeature(descriptor));
    EXPECT_EQ((std::vector<uint8_t>{0x00, 0x2E, 0x01, 0x04, 0x5A, 1, 2, 3}), std::vector<uint8_t>(descriptor, descriptor + 8));
    EXPECT_TRUE(drive->PerformanceProbe());
    EXPECT_EQ((std::vector<std::vector<uint8_t>>{{0xBD, 0, 0, 0, 0, 0, 0, 0, 0, 136, 0, 0},
                                                 {0x46, 2, 0x01, 0x07, 0, 0, 0, 0x04, 0x00, 0, 0, 0},
                                                 {0x46, 2, 0x00, 0x2E, 0, 0, 0, 0x04, 0x00, 0, 0, 0},
                                                 {0xAC, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0}}),
              Cdbs());
}
