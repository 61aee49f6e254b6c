// The current speed step and its zone texts, by family.
#include "drive/CDROMTestSupport.h"

using emu::CapabilitiesPage;
using emu::MakeCdromDrive;
using emu::PageWithMask;

TEST_F(CDROMTest, MmcStepIsNamedByTheModelsRows)
{
    const char* const artec40x[] = {"        ", "40X CD-ROM      ", "4.4B", ""};
    const char* const nec3001a[] = {"NEC     ", "CD-ROM DRIVE:282", "4.94", "99031000"};
    const char* const unknown[] = {"        ", "FAST CD 48      ", "1.00", ""};
    const struct {
        const char* const* model;
        const char* table;  // speed table loaded before the step is read; empty: none
        uint32_t reported;
        int factor;
        const char* data;
        const char* dae;
    } cases[] = {
        {artec40x, "", 2112, 12, "7x-17x CAV", "8x CLV"},
        {artec40x, "", 1936, 12, "7x-17x CAV", "8x CLV"},
        {artec40x, "", 4400, 25, "", "8x CLV"},
        {artec40x, "", 176, 1, "1x CLV", "8x CLV"},
        // Below the table's slowest step the factor is -1; the model's DAE text stays.
        {artec40x, "001810801080", 2112, -1, "", "8x CLV"},
        {nec3001a, "000402C202C2", 176, -1, "", "4x-10x CAV"},
        {unknown, "", 7040, 40, "", ""},
        // With a speed table the step is the table's factor for the reported speed, not the quotient.
        {unknown, "002A1BB01B80" "00100AF00B00", 7040, 42, "", ""},
    };
    for (const auto& c : cases) {
        auto device = MakeCdromDrive(c.model[0], c.model[1], c.model[2], c.model[3]);
        device->modePages().setPage(CapabilitiesPage({}));
        device->setSpeedModel(emu::MmcSteps({{0, c.reported}}));
        auto drive = Open(device);
        if (*c.table) {
            ASSERT_TRUE(drive->LoadSpeedTable(c.table));
        }
        drive->ZoneDescription = "old";
        const int factor = drive->CurrentSpeedStep();
        EXPECT_EQ(std::tuple(c.factor, std::string(c.data), std::string(c.dae)),
                  std::tuple(factor, drive->ZoneDescription, drive->DaeZoneDescription)) << c.model[1] << c.reported;
    }
    auto nec = Open(MakeCdromDrive("NEC     ", "CD-ROM DRIVE:999", "1.00"));
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
        const int factor = drive->CurrentSpeedStep();
        EXPECT_EQ(std::tuple(c.factor, std::string(c.data), std::string(c.dae)),
                  std::tuple(factor, drive->ZoneDescription, drive->DaeZoneDescription)) << c.product;
    }
}
