// Speed reading and setting per family, with the bytes each family's command writes.
#include "drive/CDROMCommands.h"
#include "drive/CDROMTestSupport.h"

using emu::Capabilities;
using emu::CapabilitiesPage;
using emu::CodeSteps;
using emu::MakeCdromDrive;
using emu::PageWithMask;

namespace {

// NEC drives have no capabilities page; the others are MMC drives.
std::shared_ptr<emu::CdromDrive> MmcDrive(bool writer, uint16_t writeKBps, const char* vendor = "ACME    ",
                                          const char* product = "FAST CD 48      ")
{
    auto device = MakeCdromDrive(vendor, product, "1.00");
    Capabilities caps;
    caps.writer = writer;
    caps.writeKBps = writeKBps;
    if (std::string(vendor) != "NEC     ") device->modePages().setPage(CapabilitiesPage(caps));
    device->setSpeedModel(emu::MmcSteps({{0, 706}, {1400, 1411}, {2800, 2822}, {6475, 7040}}));
    return device;
}

int Speed(const std::vector<uint8_t>& cdb) { return cdb[2] * 256 + cdb[3]; }

}  // namespace

TEST_F(CDROMTest, IllegalFactorShowsTheMessageAndSendsNothing)
{
    auto device = MmcDrive(false, 0);
    device->inquiry().product = "  FAST CD 48   ";
    auto drive = Open(device);
    platform::host::TakeMessages();
    EXPECT_FALSE(drive->SetCDSpeed(0) || drive->SetCDSpeed(256));
    EXPECT_TRUE(Cdbs().empty());
    const auto shown = platform::host::TakeMessages();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ(shown[0].text + "|" + shown[1].text,
              "SetCDSpeed(FAST CD 48): illegal parameter (0)|SetCDSpeed(FAST CD 48): illegal parameter (256)");
}

TEST_F(CDROMTest, SetCdSpeedCarriesReadAndWriteSpeeds)
{
    const struct {
        const char* vendor;
        bool writer;
        uint16_t writeKBps;
        int factor;
        uint8_t speeds[4];  // CDB bytes 2 to 5
        int reported;
    } cases[] = {
        {"ACME    ", false, 0, 8, {0x05, 0xDF, 0xFF, 0xFF}, 1411},
        {"ACME    ", true, 1411, 8, {0x05, 0xDF, 0x05, 0x83}, 1411},
        {"ACME    ", true, 0, 40, {0x1B, 0xFF, 0xFF, 0xFF}, 7040},  // the top step reports more than asked
        {"NEC     ", false, 0, 8, {0x05, 0xDF, 0xFF, 0xFF}, -1},  // no capabilities page
    };
    uint8_t target = 0;
    for (const auto& c : cases) {
        auto drive = Open(MmcDrive(c.writer, c.writeKBps, c.vendor, "CD-ROM DRIVE:999"), target++);
        EXPECT_TRUE(drive->SetCDSpeed(c.factor));
        const auto& s = c.speeds;
        EXPECT_EQ((std::vector<uint8_t>{0xBB, 0, s[0], s[1], s[2], s[3], 0, 0, 0, 0, 0, 0}), Cdbs(kSetCdSpeed).back());
        EXPECT_EQ(c.reported, drive->CurrentReadSpeed()) << c.vendor << c.factor;
    }
    // A raw speed above 16 bits asks for the fastest rather than a wrapped slow one.
    auto drive = Open(MmcDrive(false, 0), target);
    EXPECT_TRUE(drive->SendSetCDSpeed(70000));
    EXPECT_EQ(0xFFFF, Speed(Cdbs(kSetCdSpeed).back()));

    // Through a speed table: the nearer step, the slower one on a tie.
    ASSERT_TRUE(drive->LoadSpeedTable("001810681080" "00100AF00B00" "000805780580"));
    manager_->clearLog();
    EXPECT_TRUE(drive->SetCDSpeed(20) && drive->SetCDSpeed(21));
    const auto cdbs = Cdbs(kSetCdSpeed);
    EXPECT_EQ(std::tuple(Speed(cdbs.front()), Speed(cdbs.back())), std::tuple(0x0AF0, 0x1068));
}

TEST_F(CDROMTest, VendorFamiliesWriteTheirSpeedCode)
{
    const struct {
        const char* vendor;
        const char* product;
        uint8_t page, index, before;
        int factor;
        int written;  // -1: refused without a command
    } cases[] = {
        {"TOSHIBA ", "CD-ROM XM-6201TA", 0x20, 2, 0x31, 8, 0x32},  // the high nibble stays
        {"PHILIPS ", "CDD2600         ", 0x23, 4, 0, 3, 2},
        {"PHILIPS ", "CDD2000         ", 0x23, 2, 0, 200, 6},
        {"PLEXTOR ", "CD-ROM PX-32TS  ", 0x31, 2, 0, 40, 6},
        {"PLEXTOR ", "CD-ROM PX-32TS  ", 0x31, 2, 0, 20, 4},
        {"PLEXTOR ", "CD-ROM PX-40TS  ", 0x31, 2, 0, 20, 5},
        {"MATSHITA", "CD-ROM CR-506   ", 0x20, 2, 0, 12, 12},
        {"SONY    ", "CD-ROM CDU-76S  ", 0x31, 2, 0, 4, -1},
    };
    uint8_t target = 0;
    for (const auto& c : cases) {
        auto device = MakeCdromDrive(c.vendor, c.product, "1.00");
        device->modePages().setPage(PageWithMask(c.page, 8, {{c.index, c.before}}, {{c.index, 0xFF}}));
        auto drive = Open(device, target++);
        EXPECT_EQ(c.written >= 0, drive->SetCDSpeed(c.factor)) << c.product;
        const auto selects = ModeSelects();
        ASSERT_EQ(c.written >= 0 ? 1u : 0u, selects.size()) << c.product;
        if (c.written >= 0) {
            EXPECT_EQ(c.written, SelectedPageByte(selects[0], true, c.page, c.index)) << c.product;
        }
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

TEST_F(CDROMTest, MaximumFactorIsReadOnce)
{
    auto px40 = Open(MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00"), 0);
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
    EXPECT_EQ(8, drive->MaxSpeedFactor());
    // Whatever the drive keeps counts as taken.
    EXPECT_TRUE(drive->SetCDSpeed(12));
    EXPECT_EQ(8, drive->CurrentSpeedStep());
}
