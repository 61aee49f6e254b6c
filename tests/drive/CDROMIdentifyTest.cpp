// Identification: device type, database row, capabilities page and the vendor fallbacks.
#include "drive/CDROMCommands.h"
#include "platform/Assert.h"
#include "drive/CDROMTestSupport.h"
#include "transport/ScsiCodes.h"

using emu::Capabilities;
using emu::CapabilitiesPage;
using emu::MakeCdromDrive;

// A whole capabilities page, and one ending with byte 12: the buffer size and current speed are cut off.
TEST_F(CDROMTest, UnknownDriveWithCapabilitiesPageIsGenericMmc)
{
    for (const int length : {0, 13}) {
        SCOPED_TRACE(length);
        auto device = MakeCdromDrive("ACME    ", "FAST CD 48      ", "1.00");
        Capabilities caps;
        caps.writer = true;
        caps.audioBits = 0x13;
        caps.bufferKB = 0x0180;
        if (length) caps.length = uint8_t(length);
        device->modePages().setPage(CapabilitiesPage(caps));
        auto drive = Open(device, length ? 1 : 0);
        ASSERT_TRUE(drive->Exists);
        EXPECT_EQ(drive->FamilyName() + " " + drive->ModelName(), "MMC GENERIC");
        EXPECT_TRUE(drive->IsWriter && drive->C2Pointers && drive->C2Supported && drive->CddaCommands &&
                    drive->CddaStreamAccurate);
        EXPECT_EQ(std::tuple(length ? -1 : 384, 7056), std::tuple(drive->BufferSizeKB, drive->MaxReadSpeed()));
        if (length) {
            EXPECT_EQ(-1, drive->CurrentReadSpeed());
        }
    }
}

TEST_F(CDROMTest, FamilyByDatabaseRowThenPageThenVendor)
{
    const struct {
        const char* vendor;
        const char* product;
        bool page;
        const char* family;
        int model;
    } cases[] = {{"TOSHIBA ", "SOME CD-ROM     ", false, "TOSHIBA", 0}, {"NEC     ", "SOME CD-ROM     ", false, "NEC", 0},
                 {"Toshiba ", "SOME CD-ROM     ", false, "CDDA12", 0}, {"TOSHIBA ", "CD-ROM XM-5502TA", false, "TOSHIBA", 150},
                 {"TOSHIBA ", "CD-ROM XM-5502TA", true, "MMC", 150}, {"PLEXTOR ", "CD-ROM PX-40TS  ", true, "PLEXTOR", 96}};
    uint8_t target = 0;
    for (const auto& c : cases) {
        auto device = MakeCdromDrive(c.vendor, c.product, "1.00");
        if (c.page) device->modePages().setPage(CapabilitiesPage({}));
        auto drive = Open(device, target++);
        ASSERT_TRUE(drive->Exists);
        EXPECT_EQ(std::tuple(std::string(c.family), c.model, c.page ? 512 : -1),
                  std::tuple(drive->FamilyName(), int(drive->Model), int(drive->BufferSizeKB))) << c.vendor << c.product;
    }
}

TEST_F(CDROMTest, OnlyCdRomAndWriteOnceDevicesAreDrives)
{
    emu::InquiryData disk;
    disk.vendor = "ACME    ";
    disk.product = "HARD DISK       ";
    auto notADrive = Open(std::make_shared<emu::GenericDevice>(disk), 0);
    EXPECT_TRUE(!notADrive->Exists && Cdbs().empty());

    auto worm = MakeCdromDrive("ACME    ", "WORM            ", "1.00");
    worm->inquiry().peripheralType = 4;
    EXPECT_TRUE(Open(worm, 1)->Exists);

    TCDROM absent(0, 5, 0);
    EXPECT_FALSE(absent.Exists);
    EXPECT_THROW(absent.ReadCapacity(), EAssertionFailed);
}

TEST_F(CDROMTest, InquiryStringsWithControlCharactersAndZeroBytes)
{
    auto odd = MakeCdromDrive(std::string("\x01\x7F\xFF\0ABCD", 8), std::string(16, '\0'), std::string("\x1B\0\0\0", 4),
                              "\x07\x08 12.x");
    auto drive = Open(odd);
    ASSERT_TRUE(drive->Exists);
    EXPECT_EQ("CDDA12 GENERIC", drive->FamilyName() + " " + drive->ModelName());
}

TEST_F(CDROMTest, Xm5701TakesItsSpeedByteAtIdentification)
{
    auto device = MakeCdromDrive("TOSHIBA ", "CD-ROM XM-5701TA", "3136");
    device->modePages().setPage(emu::PageWithMask(0x20, 4, {{2, 0x25}}, {{2, 0xFF}}));
    manager_->attach(0, 0, 0, device);
    TCDROM drive(0, 0, 0);
    EXPECT_EQ(std::tuple(std::string("TOSHIBA"), 151, uint8_t(0x15)),
              std::tuple(drive.FamilyName(), int(drive.Model), device->modePages().page(emu::PageControl::Current, 0x20)[2]));
}

TEST_F(CDROMTest, ReadCapacityGivesTheLastBlockOrFailure)
{
    auto device = MakeCdromDrive("ACME    ", "CAPACITY        ", "1.00");
    device->modePages().setPage(CapabilitiesPage({}));
    auto drive = Open(device);
    EXPECT_EQ(-1, drive->ReadCapacity());
    EXPECT_EQ("[ERROR]", drive->ReadCapacityText());
    device->setMedium(std::make_shared<emu::PatternMedium>(0x12345));
    EXPECT_EQ(0x12344, drive->ReadCapacity());
    EXPECT_EQ("0001234400000800", drive->ReadCapacityText());
    EXPECT_EQ((std::vector<uint8_t>{0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Cdbs(kReadCapacity).back());
}
