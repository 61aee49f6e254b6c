#include <gtest/gtest.h>

#include <cstring>

#include "platform/Assert.h"
#include "platform/Time.h"
#include "platform/host/Host.h"
#include "transport/AspiManager.h"
#include "transport/Bytes.h"
#include "transport/Text.h"
#include "TransportTestSupport.h"

namespace {

using emu::Reply;

TEST_F(TargetTest, InitReadsInquiryThroughAFullyBuiltSrb)
{
    device_->inquiry = InquiryBytes(91, "V 1.2 (b)#x");
    device_->inquiry[0] = 0x05;
    device_->inquiry[2] = 0x0A;
    auto target = Open();
    ASSERT_TRUE(target->Initialised());
    EXPECT_EQ(std::tuple(target->DeviceType(), target->AnsiVersion()), std::tuple(5, 2));
    EXPECT_EQ(target->Vendor() + "|" + target->Product() + "|" + target->Revision() + "|" + target->VendorSpecific(),
              "KALMORVN|TEST DRIVE 52X  |1.0a|V1.2bx");

    const auto log = manager_->log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].cdb, Bytes({0x12, 0x00, 0x00, 0x00, 0x60, 0x00}));
    const std::vector<uint8_t>& srb = log[0].srb;
    ASSERT_EQ(srb.size(), sizeof(SRB_ExecSCSICmd));
    EXPECT_EQ(Bytes({srb[0], srb[1], srb[2], srb[3]}), Bytes({SC_EXEC_SCSI_CMD, SS_PENDING, 0, 0x48}));
    EXPECT_EQ(Bytes({srb[offsetof(SRB_ExecSCSICmd, SRB_Target)], srb[offsetof(SRB_ExecSCSICmd, SRB_Lun)],
                     srb[offsetof(SRB_ExecSCSICmd, SRB_SenseLen)], srb[offsetof(SRB_ExecSCSICmd, SRB_CDBLen)]}),
              Bytes({1, 0, 20, 6}));
    EXPECT_EQ(getLe32(&srb[offsetof(SRB_ExecSCSICmd, SRB_BufLen)]), 96u);
    for (size_t i = offsetof(SRB_ExecSCSICmd, SRB_Rsvd2); i < offsetof(SRB_ExecSCSICmd, CDBByte); ++i)
        EXPECT_EQ(srb[i], 0) << i;
    for (size_t i = offsetof(SRB_ExecSCSICmd, CDBByte) + 6; i < srb.size(); ++i) EXPECT_EQ(srb[i], 0) << i;
}

TEST_F(TargetTest, ShortInquiryKeepsOnlyTheFieldsItAnnounces)
{
    struct Case {
        uint8_t additionalLength;
        const char* vendorSpecific;
        const char* vendor;
        const char* revision;
        const char* kept;
    };
    const Case cases[] = {{35, "R2.5-xyz", "KALMORVN", "1.0a", "R2.5"},
                          {30, "ABC", "", "", ""}};
    for (const Case& c : cases) {
        device_->inquiry = InquiryBytes(c.additionalLength, c.vendorSpecific);
        auto target = Open();
        ASSERT_TRUE(target->Initialised());
        EXPECT_EQ(std::tuple(target->Vendor(), target->Product().empty(), target->Revision(), target->VendorSpecific()),
                  std::tuple(std::string(c.vendor), *c.vendor == 0, std::string(c.revision), std::string(c.kept)));
    }
}

TEST_F(TargetTest, UnreachableTargetsAreNotInitialised)
{
    auto beyond = Open(8);  // the adapter's MaxTargets
    EXPECT_THROW(beyond->TestUnitReady(), EAssertionFailed);
    EXPECT_FALSE(beyond->Initialised() || Open(2)->Initialised());
    EXPECT_TRUE(manager_->log().empty());

    auto silent = std::make_shared<ScriptedDevice>();
    silent->on(kInquiry, [](const emu::Command&) { return Reply::InvalidOpcode(); });
    manager_->attach(0, 3, 0, silent);
    EXPECT_FALSE(Open(3)->Initialised());
    EXPECT_EQ(manager_->log().size(), 1u);

    EXPECT_THROW(TTarget(0, 1, 8, 0), EAssertionFailed);  // LUNs go up to 7
}

TEST_F(TargetTest, GenericCommandsCarryTheLunAndTheirFields)
{
    manager_->attach(0, 1, 2, device_);
    TTarget target(0, 1, 2, 0);
    ASSERT_TRUE(target.Initialised());
    uint8_t buffer[4096];
    struct Case {
        std::function<bool()> send;
        std::vector<uint8_t> cdb;
        emu::Direction direction;
        uint32_t length;
    };
    const Case cases[] = {
        {[&] { return target.TestUnitReady(); }, Bytes({0x00, 0x40, 0, 0, 0, 0}), emu::Direction::None, 0},
        {[&] { return target.StartStopUnit(false, true, true); }, Bytes({0x1B, 0x41, 0, 0, 0x02, 0}),
         emu::Direction::None, 0},
        {[&] { return target.PreventAllowMediumRemoval(true); }, Bytes({0x1E, 0x40, 0, 0, 1, 0}),
         emu::Direction::None, 0},
        {[&] { return target.Read6(0x1FFFFF, 2, buffer, 4096); }, Bytes({0x08, 0x5F, 0xFF, 0xFF, 2, 0}),
         emu::Direction::In, 4096},
        {[&] { return target.Read10(0x12345678, 0x0102, buffer, 2048); },
         Bytes({0x28, 0x40, 0x12, 0x34, 0x56, 0x78, 0, 0x01, 0x02, 0}), emu::Direction::In, 2048},
    };
    for (const Case& c : cases) {
        manager_->clearLog();
        EXPECT_TRUE(c.send());
        const auto entry = LastLog();
        EXPECT_EQ(entry.cdb, c.cdb);
        const uint8_t flags = c.direction == emu::Direction::In ? 0x48 : 0x40;
        EXPECT_EQ(std::tuple(entry.lun, entry.direction, entry.length, entry.srb[3]),
                  std::tuple(uint8_t(2), c.direction, c.length, flags));
    }
    manager_->clearLog();
    EXPECT_FALSE(target.Read6(1u << 21, 1, buffer, 2048));
    EXPECT_TRUE(manager_->log().empty());
}

TEST_F(TargetTest, UnitAttentionIsSentOnceMoreOnlyWithValidSenseAndRepeatAllowed)
{
    auto target = OpenClean();
    device_->raiseUnitAttention();  // sense byte 0 = 0x70
    EXPECT_FALSE(target->TestUnitReady());
    EXPECT_EQ(manager_->log().size(), 1u);
    EXPECT_EQ(std::tuple(target->Sense().responseCode, target->Sense().valid, target->Sense().senseKey, target->Sense().asc),
              std::tuple(uint8_t(0x70), false, uint8_t(6), uint8_t(0x29)));

    device_->setSenseResponseCode(0xF0);
    const uint8_t cdb[6] = {kTestUnitReady, 0, 0, 0, 0, 0};
    for (bool repeat : {false, true}) {
        manager_->clearLog();
        device_->raiseUnitAttention();
        EXPECT_EQ(target->ExecSCSICmd(cdb, 6, nullptr, 0, DataDirection::None, repeat, 0), repeat);
        const auto log = manager_->log();
        ASSERT_EQ(log.size(), repeat ? 2u : 1u);
        EXPECT_EQ(log[0].status, SS_ERR);
    }
    // The repeat goes out with the sense area of the first attempt cleared.
    const auto repeated = LastLog();
    for (size_t i = 0; i < SENSE_LEN; ++i) EXPECT_EQ(repeated.srb[offsetof(SRB_ExecSCSICmd, SenseArea) + i], 0);
}

class DoubleBufferTest : public TargetTest {
protected:
    // Guard bytes around the caller's buffer show any write outside it.
    static constexpr size_t kGuard = 64;
    std::vector<uint8_t> memory_ = std::vector<uint8_t>(0x10000 + 2 * kGuard + 16, 0xEE);
    uint8_t* Odd(size_t offset = 0) { return AlignedBase() + 1 + offset; }
    uint8_t* AlignedBase()
    {
        uint8_t* p = memory_.data() + kGuard;
        while (reinterpret_cast<uintptr_t>(p) & 3) ++p;
        return p;
    }
};

TEST_F(DoubleBufferTest, OddBufferReadGoesThroughTheAlignedDoubleBuffer)
{
    auto target = OpenClean();
    std::vector<uint8_t> sector(2048);
    for (size_t i = 0; i < sector.size(); ++i) sector[i] = uint8_t(i * 7 + 1);
    device_->on(kRead10, [&](const emu::Command&) { return Reply::Good(sector); });

    uint8_t* odd = Odd();
    ASSERT_TRUE(target->Read10(0, 1, odd, 2048));
    const auto entry = LastLog();
    EXPECT_TRUE((SrbBuffer(entry) & 3) == 0 && SrbBuffer(entry) != reinterpret_cast<uintptr_t>(odd));
    EXPECT_EQ(std::vector<uint8_t>(odd, odd + 2048), sector);
    EXPECT_EQ(std::tuple(odd[-1], odd[2048]), std::tuple(0xEE, 0xEE));

    // An aligned buffer is handed to the manager as it is.
    ASSERT_TRUE(target->Read10(0, 1, AlignedBase(), 2048));
    EXPECT_EQ(SrbBuffer(LastLog()), reinterpret_cast<uintptr_t>(AlignedBase()));

    // An odd buffer's data out is copied to the double buffer first.
    for (int i = 0; i < 12; ++i) odd[i] = uint8_t(0xA0 + i);
    const uint8_t cdb[6] = {kModeSelect6, 0x10, 0, 0, 12, 0};
    ASSERT_TRUE(target->ExecSCSICmd(cdb, 6, odd, 12, DataDirection::Out, true, 0));
    EXPECT_EQ(LastLog().dataOut, std::vector<uint8_t>(odd, odd + 12));
    EXPECT_EQ(std::tuple(SrbBuffer(LastLog()) & 3, LastLog().srb[3]), std::tuple(uintptr_t(0), uint8_t(0x50)));
}

TEST_F(DoubleBufferTest, ShortAnswerLeavesTheCallersBytesAsAnAlignedBufferWould)
{
    auto target = OpenClean();
    std::vector<uint8_t> answer;
    device_->on(kReadToc, [&](const emu::Command&) { return Reply::Good(answer); });
    const uint8_t cdb[10] = {kReadToc, 0, 0, 0, 0, 0, 0, 0x03, 0x24, 0};
    // A previous disc's TOC fills the double buffer.
    answer.assign(804, 0x77);
    ASSERT_TRUE(target->ExecSCSICmd(cdb, 10, Odd(), 804, DataDirection::In, true, 0));

    const std::vector<std::vector<uint8_t>> shortAnswers = {
        {},
        Bytes({0x00, 0x1A, 1, 2, 0, 0x14, 1, 0, 0, 0, 0, 0}),  // claims two tracks and the lead-out
    };
    for (const auto& shortAnswer : shortAnswers) {
        answer = shortAnswer;
        std::vector<uint8_t> expected(804, 0);
        std::copy(answer.begin(), answer.end(), expected.begin());
        for (uint8_t* buffer : {Odd(), AlignedBase()}) {
            std::memset(buffer, 0, 804);
            ASSERT_TRUE(target->ExecSCSICmd(cdb, 10, buffer, 804, DataDirection::In, true, 0));
            EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 804), expected) << answer.size();
        }
    }
}

TEST_F(TargetTest, ShortInquiryThroughTheDoubleBufferGivesEmptyNames)
{
    manager_->hostAdapter(0).unique = UniqueBlock(0xFF, true, 8, 0x20000);
    ASSERT_TRUE(RestartAspi());
    ASSERT_EQ(HostAdaptorRecord(0).Align, 0xFFu);
    device_->inquiry = Bytes({0x05, 0x80, 0x02, 0x02, 31});  // claims 31 bytes it does not send
    // A block of the double buffer's size, freed dirty, is what the next allocation usually gets.
    {
        auto dirty = std::make_unique<uint8_t[]>(0xFF + TTarget::kDoubleBufferSize);
        std::memset(dirty.get(), 'X', 0xFF + TTarget::kDoubleBufferSize);
    }
    auto target = Open();
    ASSERT_TRUE(target->Initialised());
    EXPECT_EQ(target->Vendor() + target->Product() + target->Revision(), "");
}

TEST_F(DoubleBufferTest, OddTransfersLongerThanTheDoubleBufferAreRefused)
{
    auto target = OpenClean();
    const uint8_t read[10] = {kRead10, 0, 0, 0, 0, 0, 0, 0, 33, 0};
    EXPECT_FALSE(target->ExecSCSICmd(read, 10, Odd(), 0x10001, DataDirection::In, true, 0));
    EXPECT_TRUE(manager_->log().empty());

    const uint8_t write[10] = {0x2A, 0, 0, 0, 0, 0, 0, 0, 33, 0};
    EXPECT_THROW(target->ExecSCSICmd(write, 10, Odd(), 0x10001, DataDirection::Out, true, 0), EAssertionFailed);
    EXPECT_TRUE(manager_->log().empty());
    // The failed call does not leave the target marked busy.
    EXPECT_TRUE(target->TestUnitReady());
    // Exactly the double buffer's size still fits.
    EXPECT_TRUE(target->ExecSCSICmd(read, 10, Odd(), 0x10000, DataDirection::In, true, 0));
    EXPECT_EQ(Odd()[0x10000], 0xEE);
}

TEST_F(TargetTest, NeverCompletingCommandTimesOutWithTheErrorBox)
{
    auto target = Open(1, 0, 5000);
    device_->setHung(true);
    platform::host::SetClock(0);
    EXPECT_FALSE(target->TestUnitReady());
    EXPECT_EQ(platform::TickCount(), 5000u);  // the target's own time-out, on the virtual clock
    const auto messages = platform::host::TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(std::tuple(messages[0].kind, messages[0].text),
              std::tuple(platform::MessageKind::Error, std::string("Böser Fehler des ASPI-Managers: SRB_Status = SS_PENDING")));
    // INQUIRY and one attempt, not repeated.
    EXPECT_EQ(std::tuple(target->LastStatus(), manager_->log().size()), std::tuple(uint8_t(SS_PENDING), 2u));

    device_->setHung(false);
    EXPECT_TRUE(target->TestUnitReady() && platform::host::TakeMessages().empty());

    // Without a time-out of its own a target waits two minutes.
    auto patient = Open(1, 0, -5);
    device_->setHung(true);
    platform::host::SetClock(0);
    EXPECT_FALSE(patient->TestUnitReady());
    EXPECT_EQ(platform::TickCount(), 120000u);
}

TEST_F(TargetTest, CompletionByEventFromAnotherThread)
{
    manager_->setCompletion(emu::Completion::ByEventFromThread);
    auto target = Open();
    ASSERT_TRUE(target->Initialised());
    std::vector<uint8_t> sector(2048, 0x5A);
    device_->on(kRead10, [&](const emu::Command&) { return Reply::Good(sector); });
    platform::host::SetClock(0);
    std::vector<uint8_t> buffer(2048, 0);
    ASSERT_TRUE(target->Read10(7, 1, buffer.data(), 2048));
    EXPECT_EQ(buffer, sector);
    device_->setSenseResponseCode(0xF0);
    device_->raiseUnitAttention();
    EXPECT_TRUE(target->TestUnitReady() && platform::host::TakeMessages().empty());
    EXPECT_EQ(platform::TickCount(), 0u);  // nothing waited for a time-out
}

}  // namespace
