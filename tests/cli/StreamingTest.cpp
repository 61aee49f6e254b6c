// SET STREAMING as it leaves the program: the CDB and the performance descriptor, byte for byte.
#include <gtest/gtest.h>

#include "cli/Streaming.h"
#include "drive/CDROM.h"
#include "emu/Scenario.h"
#include "emu/Emulator.h"
#include "platform/host/Host.h"
#include "transport/AspiManager.h"

namespace {

// The drive of streaming.json: it takes SET CD SPEED but keeps its step; SET STREAMING moves it.
class StreamingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::host::Reset();
        const emu::ScenarioResult loaded =
            emu::LoadScenario(std::string(KALMOR_TEST_DATA_DIR) + "/scenarios/streaming.json");
        ASSERT_TRUE(loaded.manager) << loaded.error;
        manager_ = loaded.manager;
        emu::InstallNative(manager_);
        ASSERT_TRUE(InitASPI32());
    }
    void TearDown() override
    {
        UnloadASPI32();
        emu::UninstallNative();
        platform::host::Reset();
    }

    std::shared_ptr<emu::Manager> manager_;
};

TEST_F(StreamingTest, SendsOneDescriptorForTheWholeDisc)
{
    TCDROM drive(0, 0, 0);
    ASSERT_TRUE(drive.Exists);
    manager_->clearLog();
    ASSERT_TRUE(cli::SetStreamingSpeed(drive, 8));
    const std::vector<emu::LogEntry> log = manager_->log();
    ASSERT_EQ(log.size(), 2u);  // READ CAPACITY for the disc's end, then SET STREAMING
    EXPECT_EQ(log[1].cdb, std::vector<uint8_t>({0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 28, 0}));
    EXPECT_EQ(log[1].length, 28u);
    // From LBA 0 to the last block (19999), 8 x 177 + 87 = 1503 KB in 1000 ms for reading and writing.
    EXPECT_EQ(log[1].dataOut, std::vector<uint8_t>({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4E, 0x1F, 0, 0, 0x05, 0xDF,
                                                    0, 0, 0x03, 0xE8, 0, 0, 0x05, 0xDF, 0, 0, 0x03, 0xE8}));
    EXPECT_EQ(drive.CurrentReadSpeed(), 1411);
}

}  // namespace
