#include <gtest/gtest.h>

#include "EmuTestHelpers.h"
#include "emu/CdromDrive.h"
#include "emu/GenericDevice.h"
#include "platform/host/Host.h"

using namespace emutest;

namespace {

struct DeviceTest : testing::Test {
    void SetUp() override
    {
        platform::host::Reset();
        manager.addHostAdapter("EMU");
        drive = std::make_shared<emu::CdromDrive>(emu::InquiryData{});
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

bool HoldsBlock(const std::vector<uint8_t>& data, size_t offset, uint32_t lba)
{
    for (uint32_t i = 0; i < emu::kBlockSize; ++i)
        if (data[offset + i] != emu::PatternMedium::Byte(lba, i)) return false;
    return true;
}

}  // namespace

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

TEST_F(DeviceTest, UnknownTruncatedAndOutOfRangeCommandsAreIllegalRequests)
{
    auto beyond = SendIn(manager, 0, Read10(999, 2), 4096);
    EXPECT_EQ(std::tuple(beyond.status, beyond.srb.SenseArea[2], beyond.srb.SenseArea[12]), std::tuple(uint32_t(SS_ERR), uint8_t(5), uint8_t(0x21)));

    auto unknown = ExecSrb(0, 1, {0xBB, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}, 0);
    EXPECT_EQ(manager.sendCommand(&unknown), SS_ERR);
    EXPECT_EQ(std::tuple(unknown.SenseArea[2], unknown.SenseArea[12]), std::tuple(uint8_t(5), uint8_t(0x20)));

    std::vector<uint8_t> buffer(2048);
    auto truncated = ExecSrb(0, 0, {0x28, 0, 0, 0, 0, 0}, SRB_DIR_IN, buffer.data(), 2048);
    EXPECT_EQ(manager.sendCommand(&truncated), SS_ERR);
    EXPECT_EQ(truncated.SenseArea[12], 0x24);
}
