// The current speed step and its zone texts, by family.
#include "drive/CDROMTestSupport.h"

using emu::CapabilitiesPage;
using emu::CodeSteps;
using emu::MakeCdromDrive;
using emu::MmcSteps;
using emu::PageWithMask;

namespace {

std::shared_ptr<emu::CdromDrive> Artec(uint32_t reported)
{
    auto device = MakeCdromDrive("        ", "40X CD-ROM      ", "4.4B");
    device->modePages().setPage(CapabilitiesPage({}));
    device->setSpeedModel(MmcSteps({{0, reported}}));
    return device;
}

}  // namespace

TEST_F(CDROMTest, MmcStepIsNamedByTheModelsRows)
{
    const struct {
        uint32_t reported;
        int factor;
        const char* data;
    } cases[] = {{2112, 12, "7x-17x CAV"}, {1936, 12, "7x-17x CAV"}, {4400, 25, ""}, {176, 1, "1x CLV"}};
    uint8_t target = 0;
    for (const auto& c : cases) {
        auto drive = Open(Artec(c.reported), target++);
        ASSERT_EQ(8, drive->Model);
        EXPECT_EQ(c.factor, drive->CurrentSpeedStep()) << c.reported;
        EXPECT_EQ(c.data, drive->ZoneDescription);
        EXPECT_EQ("8x CLV", drive->DaeZoneDescription);
    }
}

TEST_F(CDROMTest, UnknownMmcDriveHasNoTexts)
{
    auto device = MakeCdromDrive("ACME    ", "FAST CD 48      ", "1.00");
    device->modePages().setPage(CapabilitiesPage({}));
    device->setSpeedModel(MmcSteps({{0, 7040}}));
    auto drive = Open(device, 0);
    drive->ZoneDescription = "old";
    EXPECT_EQ(40, drive->CurrentSpeedStep());
    EXPECT_EQ("", drive->ZoneDescription);
    EXPECT_EQ("", drive->DaeZoneDescription);

    // With a speed table the step is the table's factor for the reported speed, not 7040 / 176.
    ASSERT_TRUE(drive->LoadSpeedTable("002A1BB01B80" "00100AF00B00"));
    EXPECT_EQ(42, drive->CurrentSpeedStep());

    auto nec = MakeCdromDrive("NEC     ", "CD-ROM DRIVE:999", "1.00");
    auto broken = Open(nec, 1);
    ASSERT_EQ("NEC", broken->FamilyName());
    broken->DaeZoneDescription = "old";
    EXPECT_EQ(-1, broken->CurrentSpeedStep());
    EXPECT_EQ("", broken->DaeZoneDescription);
}

TEST_F(CDROMTest, PlextorCodeAboveFiveIsTheMaximum)
{
    auto device = MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00");
    device->modePages().setPage(PageWithMask(0x31, 8, {{2, 6}}, {{2, 0xFF}}));
    auto drive = Open(device, 0);
    EXPECT_EQ(42, drive->CurrentSpeedStep());
    EXPECT_EQ("18x-42x CAV", drive->ZoneDescription);
    EXPECT_EQ("16x-24x PCAV", drive->DaeZoneDescription);
}

TEST_F(CDROMTest, VendorCodesOutsideTheTableGiveNoStep)
{
    auto cdd2600 = MakeCdromDrive("PHILIPS ", "CDD2600         ", "1.00");
    cdd2600->modePages().setPage(PageWithMask(0x23, 8, {{4, 3}}, {{4, 0xFF}}));
    auto drive = Open(cdd2600, 0);
    EXPECT_EQ(-1, drive->CurrentSpeedStep());
    EXPECT_EQ("", drive->ZoneDescription);
    EXPECT_EQ("", drive->DaeZoneDescription);

    // A page too short for the code byte is a failed read.
    auto shortPage = MakeCdromDrive("PHILIPS ", "CDD2600         ", "1.00");
    shortPage->modePages().setPage(PageWithMask(0x23, 4, {}, {}));
    EXPECT_EQ(-1, Open(shortPage, 1)->CurrentSpeedStep());
}

TEST_F(CDROMTest, ToshibaStepFollowsTheLowNibble)
{
    auto device = MakeCdromDrive("TOSHIBA ", "CD-ROM XM-6201TA", "1.00");
    device->modePages().setPage(PageWithMask(0x20, 4, {{2, 0xA1}}, {{2, 0xFF}}));
    auto drive = Open(device);
    EXPECT_EQ(32, drive->CurrentSpeedStep());
    EXPECT_EQ("32x CAV", drive->ZoneDescription);
}
