#include <gtest/gtest.h>

#include "EmuTestHelpers.h"
#include "emu/Emulator.h"
#include "platform/Event.h"
#include "platform/Time.h"
#include "platform/host/Host.h"

using namespace emutest;

namespace {

// Answers every command with the reply it was given and remembers what it saw.
class ScriptedDevice : public emu::Device {
public:
    uint8_t peripheralType() const override { return 5; }
    emu::Reply execute(const emu::Command& command) override
    {
        seen.push_back(command);
        return reply;
    }
    emu::Reply reply = emu::Reply::Good({1, 2, 3, 4, 5, 6, 7, 8});
    std::vector<emu::Command> seen;
};

struct ManagerTest : testing::Test {
    void SetUp() override
    {
        platform::host::Reset();
        manager.addHostAdapter("EMU-HA");
        manager.attach(0, 1, 0, device);
    }
    emu::Manager manager;
    std::shared_ptr<ScriptedDevice> device = std::make_shared<ScriptedDevice>();
};

}  // namespace

TEST_F(ManagerTest, DataInNeverRunsPastTheBufferLength)
{
    std::vector<uint8_t> buffer(16, 0xEE);
    auto srb = ExecSrb(0, 1, {0x12, 0, 0, 0, 96, 0}, SRB_DIR_IN, buffer.data(), 5);
    EXPECT_EQ(manager.sendCommand(&srb), SS_COMP);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 0xEE}));
    EXPECT_EQ(srb.SRB_TargStat, 0);
}

TEST_F(ManagerTest, CheckConditionWritesFixedFormatSense)
{
    device->reply = emu::Reply::Check(0x05, 0x24, 0x01);
    auto result = SendIn(manager, 1, {0x5A, 0, 0x3F, 0, 0, 0, 0, 4, 0, 0}, 64);
    EXPECT_EQ(std::tuple(result.status, result.srb.SRB_Status, result.srb.SRB_TargStat), std::tuple(uint32_t(SS_ERR), uint8_t(SS_ERR), uint8_t(0x02)));
    const uint8_t expected[SENSE_LEN] = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0x01, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(result.srb.SenseArea, expected, SENSE_LEN), 0);

    device->setSenseResponseCode(0xF0);
    device->reply = emu::Reply::Check(0x06, 0x28);
    auto srb = ExecSrb(0, 1, {0, 0, 0, 0, 0, 0}, 0);
    std::memset(srb.SenseArea, 0xAA, SENSE_LEN);
    srb.SRB_SenseLen = 4;
    EXPECT_EQ(manager.sendCommand(&srb), SS_ERR);
    const uint8_t bounded[8] = {0xF0, 0, 0x06, 0, 0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(std::memcmp(srb.SenseArea, bounded, 8), 0);
    EXPECT_EQ(manager.log().back().sense.size(), 18u);
}

TEST_F(ManagerTest, MalformedRequestsAreRefusedWithoutReachingTheDevice)
{
    uint8_t byte = 0;
    std::vector<SRB_ExecSCSICmd> srbs = {
        ExecSrb(0, 1, {}, 0),                                                   // no CDB
        ExecSrb(0, 1, {0x28}, 0),                                               // a CDB of 17 bytes, below
        ExecSrb(0, 1, {0x12, 0, 0, 0, 96, 0}, SRB_DIR_IN, nullptr, 96),         // no buffer
        ExecSrb(0, 1, {0x12, 0, 0, 0, 1, 0}, SRB_DIR_IN | SRB_DIR_OUT, &byte, 1),  // both directions
        // 128 KB is the default adapter's transfer limit.
        ExecSrb(0, 1, {0x28, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0}, SRB_DIR_IN, &byte, 0xFFFFFFFF),
        ExecSrb(0, 1, {0, 0, 0, 0, 0, 0}, 0),                                   // an unknown SRB command, below
    };
    srbs[1].SRB_CDBLen = 17;
    srbs[5].SRB_Cmd = 0x07;
    for (SRB_ExecSCSICmd& srb : srbs) EXPECT_EQ(manager.sendCommand(&srb), SS_INVALID_CMD) << &srb - srbs.data();
    EXPECT_EQ(manager.sendCommand(nullptr), SS_INVALID_CMD);

    EXPECT_TRUE(device->seen.empty());
    EXPECT_EQ(manager.srbCount(), 7u);
}

TEST_F(ManagerTest, SynchronousCompletionReturnsStatusAndSignalsTheEvent)
{
    platform::host::SetClock(100);
    device->reply.busyMs = 40;
    platform::Event event;
    std::vector<uint8_t> buffer(8);
    auto srb = ExecSrb(0, 1, {0x12, 0, 0, 0, 8, 0}, SRB_DIR_IN | SRB_EVENT_NOTIFY, buffer.data(), 8);
    srb.SRB_PostProc = event.handle();
    EXPECT_EQ(manager.sendCommand(&srb), SS_COMP);
    EXPECT_EQ(std::tuple(platform::TickCount(), event.wait(0)), std::tuple(140u, true));

    auto quiet = ExecSrb(0, 1, {0x12, 0, 0, 0, 8, 0}, SRB_DIR_IN, buffer.data(), 8);
    quiet.SRB_PostProc = event.handle();
    EXPECT_EQ(manager.sendCommand(&quiet), SS_COMP);
    EXPECT_FALSE(event.wait(0));
}

TEST_F(ManagerTest, CompletionFromAnotherThreadSetsStatusBeforeTheEvent)
{
    platform::host::SetClock(0);
    manager.setCompletion(emu::Completion::ByEventFromThread);
    device->reply.busyMs = 250;
    platform::Event event;
    for (int round = 0; round < 5; ++round) {
        std::vector<uint8_t> buffer(8, 0);
        auto srb = ExecSrb(0, 1, {0x12, 0, 0, 0, 8, 0}, SRB_DIR_IN | SRB_EVENT_NOTIFY, buffer.data(), 8);
        srb.SRB_PostProc = event.handle();
        ASSERT_EQ(manager.sendCommand(&srb), SS_PENDING);
        ASSERT_TRUE(event.wait(0xFFFFFFFF));
        EXPECT_EQ(std::tuple(srb.SRB_Status, buffer[7]), std::tuple(uint8_t(SS_COMP), uint8_t(8)));
    }
    EXPECT_EQ(platform::TickCount(), 5u * 250u);
}

TEST_F(ManagerTest, HungDeviceLeavesTheRequestPendingInBothModes)
{
    device->setHung(true);
    for (auto mode : {emu::Completion::Synchronous, emu::Completion::ByEventFromThread}) {
        manager.setCompletion(mode);
        platform::host::SetClock(0);
        platform::Event event;
        auto srb = ExecSrb(0, 1, {0, 0, 0, 0, 0, 0}, SRB_EVENT_NOTIFY);
        srb.SRB_PostProc = event.handle();
        EXPECT_EQ(manager.sendCommand(&srb), SS_PENDING);
        EXPECT_FALSE(event.wait(5000));
        EXPECT_EQ(std::tuple(srb.SRB_Status, platform::TickCount()), std::tuple(uint8_t(SS_PENDING), 5000u));
    }
    EXPECT_EQ(manager.log().back().status, SS_PENDING);
}
