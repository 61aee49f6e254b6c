#include <gtest/gtest.h>

#include "EmuTestHelpers.h"
#include "emu/CdromDrive.h"
#include "emu/GenericDevice.h"
#include "platform/host/Host.h"

using namespace emutest;

namespace {

// A medium whose blocks in one range cannot be read.
class ScratchedMedium : public emu::PatternMedium {
public:
    ScratchedMedium() : PatternMedium(100) {}
    bool readBlock(uint32_t lba, uint8_t* out) const override
    {
        return lba >= 10 && lba < 20 ? false : PatternMedium::readBlock(lba, out);
    }
};

struct DeviceTest : testing::Test {
    void SetUp() override
    {
        platform::host::Reset();
        manager.addHostAdapter("EMU");
        emu::InquiryData data;
        data.vendor = "EMUVEND";
        data.product = "CD-ROM DRIVE 40X";
        data.revision = "1.0A";
        data.ansiVersion = 2;
        data.additionalLength = 51;
        data.vendorSpecific = {'(', '1', ' ', '2', ')'};
        drive = std::make_shared<emu::CdromDrive>(data);
        drive->setMedium(std::make_shared<emu::PatternMedium>(1000));
        disk = std::make_shared<emu::GenericDevice>(emu::InquiryData{0, false, 2, "DISKCO", "HARD DISK", "7", 31, {}});
        disk->setMedium(std::make_shared<emu::PatternMedium>(5000));
        manager.attach(0, 0, 0, drive);
        manager.attach(0, 1, 0, disk);
    }
    emu::Manager manager;
    std::shared_ptr<emu::CdromDrive> drive;
    std::shared_ptr<emu::GenericDevice> disk;
};

std::vector<uint8_t> Read10(uint32_t lba, uint16_t count)
{
    return {0x28, 0, uint8_t(lba >> 24), uint8_t(lba >> 16), uint8_t(lba >> 8), uint8_t(lba), 0,
            uint8_t(count >> 8), uint8_t(count), 0};
}

bool HoldsBlock(const std::vector<uint8_t>& data, size_t offset, uint32_t lba)
{
    for (uint32_t i = 0; i < emu::kBlockSize; ++i)
        if (data[offset + i] != emu::PatternMedium::Byte(lba, i)) return false;
    return true;
}

}  // namespace

TEST_F(DeviceTest, InquiryAnswerIsLaidOutAndCutByTheAllocationLength)
{
    auto full = SendIn(manager, 0, {0x12, 0, 0, 0, 96, 0}, 96);
    ASSERT_EQ(full.status, SS_COMP);
    EXPECT_EQ(full.data[0], 0x05);
    EXPECT_EQ(full.data[1], 0x80);
    EXPECT_EQ(full.data[2], 0x02);
    EXPECT_EQ(full.data[4], 51);
    EXPECT_EQ(std::string(full.data.begin() + 8, full.data.begin() + 36), "EMUVEND CD-ROM DRIVE 40X1.0A");
    EXPECT_EQ(std::string(full.data.begin() + 36, full.data.begin() + 41), "(1 2)");
    EXPECT_EQ(full.data[41], 0);
    EXPECT_EQ(full.data[55], 0);
    EXPECT_EQ(full.data[56], 0xEE);  // 51 + 5 bytes sent, no more

    auto cut = SendIn(manager, 0, {0x12, 0, 0, 0, 10, 0}, 96);
    EXPECT_EQ(cut.data[9], 'M');
    EXPECT_EQ(cut.data[10], 0xEE);

    drive->inquiry().additionalLength = 30;
    auto shortAnswer = SendIn(manager, 0, {0x12, 0, 0, 0, 96, 0}, 96);
    EXPECT_EQ(shortAnswer.data[4], 30);
    EXPECT_EQ(shortAnswer.data[34], '0');
    EXPECT_EQ(shortAnswer.data[35], 0xEE);

    EXPECT_EQ(SendIn(manager, 1, {0x12, 0, 0, 0, 96, 0}, 96).data[0], 0x00);  // a disk, not removable
    EXPECT_EQ(SendIn(manager, 0, {0x12, 0x01, 0x80, 0, 96, 0}, 96).status, SS_ERR);  // no vital product pages
}

TEST_F(DeviceTest, ReadsDeliverTheAddressedBlocksInEveryCdbForm)
{
    auto read10 = SendIn(manager, 0, Read10(500, 2), 2 * 2048);
    ASSERT_EQ(read10.status, SS_COMP);
    EXPECT_TRUE(HoldsBlock(read10.data, 2048, 501));
    EXPECT_TRUE(HoldsBlock(SendIn(manager, 0, {0x08, 0x00, 0x03, 0xE7, 1, 0}, 2048).data, 0, 999));
    EXPECT_TRUE(HoldsBlock(SendIn(manager, 1, {0xA8, 0, 0, 0, 0x10, 0, 0, 0, 0, 1, 0, 0}, 2048).data, 0, 0x1000));
    auto capacity = SendIn(manager, 0, {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 8);
    EXPECT_EQ(capacity.data, (std::vector<uint8_t>{0, 0, 0x03, 0xE7, 0, 0, 0x08, 0}));
}

TEST_F(DeviceTest, ReadFailuresCarryTheirSense)
{
    auto beyond = SendIn(manager, 0, Read10(999, 2), 4096);
    EXPECT_EQ(beyond.status, SS_ERR);
    EXPECT_EQ(beyond.srb.SenseArea[2], 0x05);
    EXPECT_EQ(beyond.srb.SenseArea[12], 0x21);

    // READ(6) with a block count of 0 asks for 256 blocks: too many for this medium.
    EXPECT_EQ(SendIn(manager, 0, {0x08, 0x00, 0x03, 0x00, 0, 0}, 2048).status, SS_ERR);

    drive->setMedium(std::make_shared<ScratchedMedium>());
    auto scratched = SendIn(manager, 0, Read10(8, 4), 4 * 2048);
    EXPECT_EQ(scratched.status, SS_ERR);
    EXPECT_EQ(scratched.srb.SenseArea[2], 0x03);
    EXPECT_EQ(scratched.srb.SenseArea[12], 0x11);
    EXPECT_TRUE(HoldsBlock(scratched.data, 2048, 9));

    drive->setMedium(nullptr);
    auto empty = SendIn(manager, 0, Read10(0, 1), 2048);
    EXPECT_EQ(empty.srb.SenseArea[2], 0x02);
    EXPECT_EQ(empty.srb.SenseArea[12], 0x3A);
    EXPECT_EQ(empty.srb.SenseArea[13], 0x01);
}

TEST_F(DeviceTest, HugeTransferLengthIsBoundedByTheBuffer)
{
    auto srb = ExecSrb(0, 1, Read10(0, 0xFFFF), SRB_DIR_IN, nullptr, 4096);
    std::vector<uint8_t> buffer(4096 + 16, 0xEE);
    srb.SRB_BufPointer = buffer.data();
    EXPECT_EQ(manager.sendCommand(&srb), SS_ERR);  // past the disk's last block
    disk->setMedium(std::make_shared<emu::PatternMedium>(0x20000));
    EXPECT_EQ(manager.sendCommand(&srb), SS_COMP);
    EXPECT_TRUE(HoldsBlock(buffer, 2048, 1));
    EXPECT_EQ(buffer[4096], 0xEE);
}

TEST_F(DeviceTest, TrayAndMediumStatesShowInTestUnitReady)
{
    struct Step {
        std::vector<uint8_t> cdb;
        uint32_t status;
        uint8_t asc, ascq;
    };
    const Step steps[] = {
        {{0x1E, 0, 0, 0, 1, 0}, SS_COMP, 0, 0},      {{0x1B, 0, 0, 0, 0x02, 0}, SS_ERR, 0x53, 0x02},  // locked
        {{0x1E, 0, 0, 0, 0, 0}, SS_COMP, 0, 0},      {{0x1B, 0, 0, 0, 0x02, 0}, SS_COMP, 0, 0},
        {{0x00, 0, 0, 0, 0, 0}, SS_ERR, 0x3A, 0x02},  // tray open
        {{0x1B, 0, 0, 0, 0x03, 0}, SS_COMP, 0, 0},   {{0x00, 0, 0, 0, 0, 0}, SS_COMP, 0, 0},
        {{0x1B, 0x01, 0, 0, 0x00, 0}, SS_COMP, 0, 0}, {{0x00, 0, 0, 0, 0, 0}, SS_COMP, 0, 0},  // stopped is ready
    };
    for (const Step& step : steps) {
        auto srb = ExecSrb(0, 0, step.cdb, 0);
        EXPECT_EQ(manager.sendCommand(&srb), step.status) << int(step.cdb[0]);
        EXPECT_EQ(srb.SenseArea[12], step.asc);
        EXPECT_EQ(srb.SenseArea[13], step.ascq);
    }
}

TEST_F(DeviceTest, UnknownAndTruncatedCommandsAreIllegalRequests)
{
    auto unknown = ExecSrb(0, 1, {0xBB, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}, 0);
    EXPECT_EQ(manager.sendCommand(&unknown), SS_ERR);
    EXPECT_EQ(unknown.SenseArea[2], 0x05);
    EXPECT_EQ(unknown.SenseArea[12], 0x20);

    std::vector<uint8_t> buffer(2048);
    auto truncated = ExecSrb(0, 0, {0x28, 0, 0, 0, 0, 0}, SRB_DIR_IN, buffer.data(), 2048);
    EXPECT_EQ(manager.sendCommand(&truncated), SS_ERR);
    EXPECT_EQ(truncated.SenseArea[12], 0x24);
}
