// The current speed step and its zone texts, by family.
#include "drive/CDROMTestSupport.h"

using emu::CapabilitiesPage;
using emu::MakeCdromDrive;
using emu::PageWithMask;

TEST_F(CDROMTest, MmcStepIsNamedByTheModelsRows)
{
    const struct {
        const char* product;
        const char* revision;
        uint32_t reported;
        int factor;
        const char* data;
        const char* dae;
    } cases[] = {
        {"40X CD-ROM      ", "4.4B", 2112, 12, "7x-17x CAV", "8x CLV"},
        {"40X CD-ROM      ", "4.4B", 1936, 12, "7x-17x CAV", "8x CLV"},
        {"40X CD-ROM      ", "4.4B", 4400, 25, "", "8x CLV"},
        {"40X CD-ROM      ", "4.4B", 176, 1, "1x CLV", "8x CLV"},
        {"FAST CD 48      ", "1.00", 7040, 40, "", ""},  // unknown model
    };
    uint8_t target = 0;
    for (const auto& c : cases) {
        auto device = MakeCdromDrive("        ", c.product, c.revision);
        device->modePages().setPage(CapabilitiesPage({}));
        device->setSpeedModel(emu::MmcSteps({{0, c.reported}}));
        auto drive = Open(device, target++);
        drive->ZoneDescription = "old";
        EXPECT_EQ(c.factor, drive->CurrentSpeedStep()) << c.reported;
        EXPECT_EQ(c.data, drive->ZoneDescription) << c.reported;
        EXPECT_EQ(c.dae, drive->DaeZoneDescription) << c.reported;
        // With a speed table the step is the table's factor for the reported speed, not the quotient.
        if (c.factor == 40) {
            ASSERT_TRUE(drive->LoadSpeedTable("002A1BB01B80" "00100AF00B00"));
            EXPECT_EQ(42, drive->CurrentSpeedStep());
        }
    }
    auto nec = Open(MakeCdromDrive("NEC     ", "CD-ROM DRIVE:999", "1.00"), target);
    nec->DaeZoneDescription = "old";
    EXPECT_EQ(-1, nec->CurrentSpeedStep());
    EXPECT_EQ("", nec->DaeZoneDescription);
}

TEST_F(CDROMTest, VendorStepIsReadFromTheCodeByte)
{
    const struct {
        const char* vendor;
        const char* product;
        uint8_t page, length, index, code;
        int factor;
        const char* data;
        const char* dae;
    } cases[] = {
        {"PLEXTOR ", "CD-ROM PX-40TS  ", 0x31, 8, 2, 6, 42, "18x-42x CAV", "16x-24x PCAV"},  // above 5: the maximum
        {"TOSHIBA ", "CD-ROM XM-6201TA", 0x20, 4, 2, 0xA1, 32, "32x CAV", ""},  // the low nibble only
        {"PHILIPS ", "CDD2600         ", 0x23, 8, 4, 3, -1, "", ""},  // outside the table
        {"PHILIPS ", "CDD2600         ", 0x23, 4, 4, 2, -1, "", ""},  // page too short for the byte
    };
    uint8_t target = 0;
    for (const auto& c : cases) {
        auto device = MakeCdromDrive(c.vendor, c.product, "1.00");
        device->modePages().setPage(PageWithMask(c.page, c.length, {{c.index, c.code}}, {{c.index, 0xFF}}));
        auto drive = Open(device, target++);
        EXPECT_EQ(c.factor, drive->CurrentSpeedStep()) << c.product;
        EXPECT_EQ(c.data, drive->ZoneDescription) << c.product;
        EXPECT_EQ(c.dae, drive->DaeZoneDescription) << c.product;
    }
}
