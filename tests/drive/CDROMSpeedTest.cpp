// Speed reading and setting per family, with the bytes each family's command writes.
#include "drive/CDROMCommands.h"
#include "drive/CDROMTestSupport.h"

using emu::Capabilities;
using emu::CapabilitiesPage;
using emu::CodeSteps;
using emu::MakeCdromDrive;
using emu::MmcSteps;
using emu::PageWithMask;

namespace {

std::shared_ptr<emu::CdromDrive> MmcDrive(bool writer, uint16_t writeKBps)
{
    auto device = MakeCdromDrive("ACME    ", "FAST CD 48      ", "1.00");
    Capabilities caps;
    caps.writer = writer;
    caps.writeKBps = writeKBps;
    device->modePages().setPage(CapabilitiesPage(caps));
    device->setSpeedModel(MmcSteps({{0, 706}, {1400, 1411}, {2800, 2822}, {6475, 7040}}));
    return device;
}

std::shared_ptr<emu::CdromDrive> VendorDrive(const char* vendor, const char* product, uint8_t page, uint8_t index,
                                             uint8_t mask, std::vector<std::pair<int, uint32_t>> steps)
{
    auto device = MakeCdromDrive(vendor, product, "1.00");
    device->modePages().setPage(PageWithMask(page, 8, {}, {{index, 0xFF}}));
    device->setSpeedModel(CodeSteps({page, index, mask}, steps));
    return device;
}

}  // namespace

TEST_F(CDROMTest, IllegalFactorShowsTheMessageAndSendsNothing)
{
    auto device = MmcDrive(false, 0);
    device->inquiry().product = "  FAST CD 48   ";
    auto drive = Open(device);
    platform::host::TakeMessages();
    EXPECT_FALSE(drive->SetCDSpeed(0));
    EXPECT_FALSE(drive->SetCDSpeed(256));
    EXPECT_TRUE(Cdbs().empty());
    const auto shown = platform::host::TakeMessages();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("SetCDSpeed(FAST CD 48): illegal parameter (0)", shown[0].text);
    EXPECT_EQ("SetCDSpeed(FAST CD 48): illegal parameter (256)", shown[1].text);
}

TEST_F(CDROMTest, MmcSpeedWithoutTableAndWriteSpeedOfWriters)
{
    auto reader = Open(MmcDrive(false, 0), 0);
    EXPECT_TRUE(reader->SetCDSpeed(8));
    EXPECT_EQ((std::vector<uint8_t>{0xBB, 0, 0x05, 0xDF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}), Cdbs(kSetCdSpeed).back());
    EXPECT_EQ(1411, reader->CurrentReadSpeed());

    auto writer = Open(MmcDrive(true, 1411), 1);
    EXPECT_TRUE(writer->SetCDSpeed(8));
    EXPECT_EQ((std::vector<uint8_t>{0xBB, 0, 0x05, 0xDF, 0x05, 0x83, 0, 0, 0, 0, 0, 0}), Cdbs(kSetCdSpeed).back());

    auto idleWriter = Open(MmcDrive(true, 0), 2);
    EXPECT_TRUE(idleWriter->SetCDSpeed(40));
    EXPECT_EQ((std::vector<uint8_t>{0xBB, 0, 0x1B, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}), Cdbs(kSetCdSpeed).back());
    EXPECT_EQ(7040, idleWriter->CurrentReadSpeed());  // the top step reports more than asked
    EXPECT_EQ(0, idleWriter->CurrentWriteSpeed());
}

TEST_F(CDROMTest, NecDriveTakesSetCdSpeed)
{
    auto device = MakeCdromDrive("NEC     ", "CD-ROM DRIVE:999", "1.00");
    device->setSpeedModel(MmcSteps({{0, 706}, {1400, 1411}}));
    auto drive = Open(device);
    ASSERT_EQ("NEC", drive->FamilyName());
    EXPECT_TRUE(drive->SetCDSpeed(8));
    EXPECT_EQ((std::vector<uint8_t>{0xBB, 0, 0x05, 0xDF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}), Cdbs(kSetCdSpeed).back());
}

TEST_F(CDROMTest, MmcSpeedThroughTableTakesTheNearerSlowerStep)
{
    auto drive = Open(MmcDrive(false, 0));
    ASSERT_TRUE(drive->LoadSpeedTable("001810681080" "00100AF00B00" "000805780580"));
    EXPECT_TRUE(drive->SetCDSpeed(20));
    EXPECT_TRUE(drive->SetCDSpeed(21));
    const auto cdbs = Cdbs(kSetCdSpeed);
    ASSERT_EQ(2u, cdbs.size());
    EXPECT_EQ(0x0A, cdbs[0][2]);
    EXPECT_EQ(0xF0, cdbs[0][3]);
    EXPECT_EQ(0x10, cdbs[1][2]);
    EXPECT_EQ(0x68, cdbs[1][3]);
}

TEST_F(CDROMTest, RawSetSpeedAboveSixteenBitsAsksForTheFastest)
{
    auto drive = Open(MmcDrive(false, 0));
    EXPECT_TRUE(drive->SendSetCDSpeed(70000));
    EXPECT_EQ(0xFF, Cdbs(kSetCdSpeed).back()[2]);
    EXPECT_EQ(0xFF, Cdbs(kSetCdSpeed).back()[3]);
}

TEST_F(CDROMTest, ToshibaKeepsTheHighNibbleOfItsSpeedByte)
{
    auto device = VendorDrive("TOSHIBA ", "CD-ROM XM-6201TA", 0x20, 2, 0x0F, {{0, 176}, {1, 5632}, {2, 1760}});
    auto drive = Open(device);
    ASSERT_EQ(152, drive->Model);
    // Rewrite the high nibble the drive holds besides its code.
    auto values = device->modePages().page(emu::PageControl::Current, 0x20);
    values[2] = 0x31;
    device->modePages().setPage({values, device->modePages().page(emu::PageControl::Changeable, 0x20), values, values});
    EXPECT_TRUE(drive->SetCDSpeed(8));
    const auto selects = ModeSelects();
    ASSERT_EQ(1u, selects.size());
    EXPECT_EQ(0x32, SelectedPageByte(selects[0], true, 0x20, 2));
    EXPECT_EQ(6, drive->CurrentSpeedStep());
    EXPECT_EQ("6x-10x PCAV", drive->ZoneDescription);
}

TEST_F(CDROMTest, PhilipsCodesGoToTheirFamilysByte)
{
    auto cdd2600 = Open(VendorDrive("PHILIPS ", "CDD2600         ", 0x23, 4, 0xFF, {{1, 176}, {2, 352}, {4, 704}, {6, 1056}}), 0);
    EXPECT_TRUE(cdd2600->SetCDSpeed(3));
    EXPECT_EQ(2, SelectedPageByte(ModeSelects().back(), true, 0x23, 4));

    auto cdd2000 = Open(VendorDrive("PHILIPS ", "CDD2000         ", 0x23, 2, 0xFF, {{1, 176}, {2, 352}, {4, 704}}), 1);
    EXPECT_TRUE(cdd2000->SetCDSpeed(200));
    EXPECT_EQ(6, SelectedPageByte(ModeSelects().back(), true, 0x23, 2));
    EXPECT_EQ(4, cdd2000->MaxSpeedFactor());
}

TEST_F(CDROMTest, PlextorCodesByModel)
{
    const std::vector<std::pair<int, uint32_t>> steps = {{0, 176}, {1, 352}, {2, 704}, {4, 1408}, {5, 3520}, {6, 7040}};
    auto px32 = Open(VendorDrive("PLEXTOR ", "CD-ROM PX-32TS  ", 0x31, 2, 0xFF, steps), 0);
    auto px40 = Open(VendorDrive("PLEXTOR ", "CD-ROM PX-40TS  ", 0x31, 2, 0xFF, steps), 1);
    const struct {
        TCDROM* drive;
        int factor;
        int code;
    } cases[] = {{px32.get(), 40, 6}, {px32.get(), 20, 4}, {px32.get(), 24, 5}, {px40.get(), 20, 5}, {px40.get(), 32, 6}};
    for (const auto& c : cases) {
        manager_->clearLog();
        EXPECT_TRUE(c.drive->SetCDSpeed(c.factor));
        EXPECT_EQ(c.code, SelectedPageByte(ModeSelects().back(), true, 0x31, 2)) << c.factor;
    }
}

TEST_F(CDROMTest, VendorCodeTheDriveDoesNotKeepIsFailure)
{
    auto device = MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00");
    device->modePages().setPage(PageWithMask(0x31, 8, {}, {{2, 0xFF}}));
    auto model = CodeSteps({0x31, 2, 0xFF}, {{4, 1408}, {5, 3520}});
    model.keeps[6] = 5;  // no 32x step: the drive stays at 20x
    device->setSpeedModel(model);
    auto drive = Open(device);
    EXPECT_FALSE(drive->SetCDSpeed(32));
    EXPECT_TRUE(drive->SetCDSpeed(20));
}

TEST_F(CDROMTest, VendorModelsWithoutCodesSendNothing)
{
    auto sony76 = Open(VendorDrive("SONY    ", "CD-ROM CDU-76S  ", 0x31, 2, 0xFF, {{0, 176}}), 0);
    ASSERT_EQ("CDDA12", sony76->FamilyName());
    EXPECT_FALSE(sony76->SetCDSpeed(4));
    EXPECT_TRUE(Cdbs().empty());
    EXPECT_EQ(-1, sony76->MaxSpeedFactor());
}

TEST_F(CDROMTest, MaximumFactorIsReadOnce)
{
    auto px40 = Open(VendorDrive("PLEXTOR ", "CD-ROM PX-40TS  ", 0x31, 2, 0xFF, {{0, 176}}), 0);
    EXPECT_EQ(42, px40->MaxSpeedFactor());
    EXPECT_EQ(42, px40->MaxSpeedFactor());
    EXPECT_TRUE(Cdbs().empty());

    auto mmc = Open(MmcDrive(false, 0), 1);
    EXPECT_EQ(40, mmc->MaxSpeedFactor());
    EXPECT_EQ(40, mmc->MaxSpeedFactor());
    EXPECT_EQ(1u, Cdbs().size());
    mmc->ForgetSpeedInfo();
    EXPECT_EQ(40, mmc->MaxSpeedFactor());
    EXPECT_EQ(2u, Cdbs().size());
}

TEST_F(CDROMTest, MatshitaProbeFindsTheHighestKeptFactor)
{
    auto device = MakeCdromDrive("MATSHITA", "CD-ROM CR-506   ", "1.00");
    device->modePages().setPage(PageWithMask(0x20, 4, {}, {{2, 0xFF}}));
    auto model = CodeSteps({0x20, 2, 0xFF}, {{1, 176}, {2, 352}, {4, 704}, {8, 1408}});
    for (int v = 9; v <= 255; ++v) model.keeps[uint8_t(v)] = 8;
    model.keeps[0] = 1;
    device->setSpeedModel(model);
    auto drive = Open(device);
    ASSERT_EQ("MATSHITA", drive->FamilyName());
    EXPECT_EQ(8, drive->MaxSpeedFactor());
    // Whatever the drive keeps counts as taken.
    EXPECT_TRUE(drive->SetCDSpeed(12));
    EXPECT_EQ(8, drive->CurrentSpeedStep());
    EXPECT_EQ("8x CLV", drive->ZoneDescription);
    EXPECT_EQ("8x CLV", drive->DaeZoneDescription);
}
