#include <gtest/gtest.h>

#include "emu/GenericDevice.h"
#include "platform/Assert.h"
#include "transport/ModeParameterList.h"
#include "ModeAnswers.h"
#include "TransportTestSupport.h"

namespace {

using emu::Reply;

// A drive with three pages that answers both MODE SENSE forms and keeps what MODE SELECT
// sends, except the bits outside keepMask_.
class ModePagesTest : public TargetTest {
protected:
    void SetUp() override
    {
        TargetTest::SetUp();
        device_->on(kModeSense10, [this](const emu::Command& c) { return Reply::Good(Answer10(Pages(c.cdb[2]))); });
        device_->on(kModeSense6, [this](const emu::Command& c) { return Reply::Good(Answer6(Pages(c.cdb[2]))); });
        device_->on(kModeSelect10, [this](const emu::Command& c) { return Select(c.dataOut, 8 + getBe16(&c.dataOut[6])); });
        device_->on(kModeSelect6, [this](const emu::Command& c) { return Select(c.dataOut, 4 + c.dataOut[3]); });
        target_ = OpenClean();
        ASSERT_TRUE(target_->Initialised());
    }

    std::vector<uint8_t> Pages(uint8_t cdbByte2)
    {
        const uint8_t code = cdbByte2 & 0x3F;
        std::vector<uint8_t> all;
        for (const auto& page : pages_) {
            if (code == kAllModePages || page[0] == code) all.insert(all.end(), page.begin(), page.end());
        }
        return all;
    }

    Reply Select(const std::vector<uint8_t>& list, size_t start)
    {
        for (size_t p = start; p + 1 < list.size(); p += 2 + list[p + 1]) {
            for (auto& page : pages_) {
                if (page[0] != list[p]) continue;
                for (size_t i = 2; i < page.size() && p + i < list.size(); ++i) page[i] = list[p + i] & keepMask_;
            }
        }
        return Reply::Good();
    }

    std::vector<std::vector<uint8_t>> pages_ = {
        {0x01, 0x02, 0xAA, 0xBB},
        {0x0D, 0x06, 0x00, 0x08, 0x00, 0x3C, 0x00, 0x4B},
        {0x2A, 0x04, 0x11, 0x22, 0x33, 0x44},
    };
    uint8_t keepMask_ = 0xFF;
    std::unique_ptr<TTarget> target_;
};

std::vector<uint8_t> Opcodes(const std::vector<emu::LogEntry>& log)
{
    std::vector<uint8_t> opcodes;
    for (const auto& entry : log) opcodes.push_back(entry.cdb[0]);
    return opcodes;
}

TEST_F(ModePagesTest, ModeSenseTenIsTriedFirstWithItsExactCdb)
{
    manager_->attach(0, 1, 3, device_);
    TTarget lun3(0, 1, 3, 0);
    manager_->clearLog();
    EXPECT_EQ(lun3.GetModeByte(2, 0x0D, 3), 0x08);
    const auto entry = LastLog();
    EXPECT_EQ(entry.cdb, Bytes({0x5A, 0x60, 0x8D, 0, 0, 0, 0, 0x04, 0x00, 0}));
    EXPECT_EQ(std::tuple(entry.direction, entry.length), std::tuple(emu::Direction::In, 1024u));
    EXPECT_EQ(lun3.SenseStatistics(), "1/0 - 1/0 - 0/0 - 0/0 - 0/0");
}

// MODE SENSE(10) is tried first until it has failed 42 times without a success; the lists of
// MODE SENSE(6) are written with MODE SELECT(6).
TEST_F(ModePagesTest, ModeSenseTenIsGivenUpAfter42FailuresForModeSenseSix)
{
    device_->on(kModeSense10, [](const emu::Command&) { return Reply::InvalidOpcode(); });
    EXPECT_EQ(target_->GetModeByte(0, 0x2A, 5), 0x44);
    const auto log = manager_->log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].cdb, Bytes({0x1A, 0x00, 0x2A, 0, 0xFF, 0}));
    EXPECT_EQ(log[1].length, 255u);
    for (int i = 1; i < 42; ++i) EXPECT_EQ(target_->GetModeByte(0, 0x0D, 3), 0x08);
    EXPECT_EQ(manager_->log().size(), 84u);
    manager_->clearLog();
    EXPECT_EQ(target_->SetModeByte(true, 0x01, 3, 0xCC), 0xCC);
    EXPECT_EQ(Opcodes(manager_->log()), Bytes({0x1A, 0x15, 0x1A}));
    EXPECT_EQ(manager_->log()[1].cdb, Bytes({0x15, 0x10, 0, 0, 8, 0}));
    EXPECT_EQ(manager_->log()[1].dataOut, Bytes({0, 0, 0, 0, 0x01, 0x02, 0xAA, 0xCC}));
    EXPECT_EQ(target_->SenseStatistics(), "0/44 - 0/0 - 0/0 - 0/0 - 44/0");

    // One success keeps MODE SENSE(10) for good.
    auto kept = OpenClean();
    device_->on(kModeSense10, [this](const emu::Command& c) { return Reply::Good(Answer10(Pages(c.cdb[2]))); });
    EXPECT_EQ(kept->GetModeByte(0, 0x0D, 3), 0x08);
    device_->on(kModeSense10, [](const emu::Command&) { return Reply::InvalidOpcode(); });
    for (int i = 0; i < 50; ++i) kept->GetModeByte(0, 0x0D, 3);
    manager_->clearLog();
    EXPECT_EQ(kept->GetModeByte(0, 0x0D, 3), 0x08);
    EXPECT_EQ(Opcodes(manager_->log()), Bytes({0x5A, 0x1A}));
    EXPECT_EQ(kept->Counters().sense10Failed, 51);
}

TEST_F(ModePagesTest, AnswersPointingOutsideTheListFallBackSafely)
{
    device_->on(kModeSense10, [](const emu::Command&) {
        return Reply::Good(std::vector<uint8_t>(1024, 0xFF));  // lengths and descriptor length all 0xFFFF
    });
    device_->on(kModeSense6, [](const emu::Command&) { return Reply::Good(std::vector<uint8_t>(255, 0xFF)); });
    EXPECT_EQ(target_->GetModeByte(0, 0x0D, 2), -1);
    EXPECT_EQ(target_->ModePageDump(kAllModePages, 0, "P:", " "), "");
    EXPECT_EQ(target_->SetModeByte(true, 0x0D, 2, 1), -1);
    EXPECT_FALSE(target_->SetModeBit(true, 0x0D, 2, 1, true));
    EXPECT_EQ(target_->Counters().conversionFailed, 4);
}

TEST_F(ModePagesTest, SetModeByteWritesCurrentValuesAndReturnsWhatTheDriveKept)
{
    keepMask_ = 0x0F;
    EXPECT_EQ(target_->SetModeByte(true, 0x0D, 3, 0x35), 0x05);
    const auto log = manager_->log();
    ASSERT_EQ(Opcodes(log), Bytes({0x5A, 0x55, 0x5A}));
    EXPECT_EQ(Bytes({log[0].cdb[2], log[2].cdb[2]}), Bytes({0x0D, 0x0D}));
    EXPECT_EQ(log[1].cdb, Bytes({0x55, 0x10, 0, 0, 0, 0, 0, 0x00, 0x10, 0}));
    EXPECT_EQ(log[1].dataOut, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0x0D, 0x06, 0x00, 0x35, 0x00, 0x3C, 0x00, 0x4B}));

    // Saved values are read with page control 3 and written with the save pages bit.
    manager_->clearLog();
    keepMask_ = 0xFF;
    EXPECT_EQ(target_->SetModeByte(false, 0x0D, 3, 0x09), 0x09);
    const auto saved = manager_->log();
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(Bytes({saved[0].cdb[2], saved[1].cdb[1]}), Bytes({0xCD, 0x11}));
}

TEST_F(ModePagesTest, ModeBitsAreMaskedNotShifted)
{
    EXPECT_EQ(std::vector<int>({target_->GetModeBit(0, 0x0D, 3, 3), target_->GetModeBit(0, 0x0D, 2, 3), target_->GetModeBit(0, 0x0E, 3, 3)}),
              std::vector<int>({8, 0, -1}));

    manager_->clearLog();
    EXPECT_TRUE(target_->SetModeBit(true, 0x0D, 3, 0, true));
    EXPECT_EQ(LastLog().dataOut[8 + 3], 0x09);
    EXPECT_TRUE(target_->SetModeBit(true, 0x0D, 3, 3, false));
    EXPECT_EQ(LastLog().dataOut[8 + 3], 0x01);
    EXPECT_FALSE(target_->SetModeBit(true, 0x0D, 9, 3, true));  // beyond the page
    device_->on(kModeSelect10, [](const emu::Command&) { return Reply::IllegalRequest(); });
    EXPECT_EQ(target_->SetModeByte(true, 0x0D, 3, 1), -1);
}

TEST_F(ModePagesTest, TruncatedSixByteAnswerIsNotWrittenBack)
{
    device_->on(kModeSense10, [](const emu::Command&) { return Reply::InvalidOpcode(); });
    device_->on(kModeSense6, [](const emu::Command&) {
        std::vector<uint8_t> answer = Answer6(Concat({Bytes({0x0D, 0x06, 0, 8, 0, 0x3C, 0, 0x4B}), std::vector<uint8_t>(243, 0)}));
        answer[0] = 255;  // declares one byte more than MODE SENSE(6) can bring
        return Reply::Good(answer);
    });
    EXPECT_EQ(target_->GetModeByte(0, 0x0D, 3), 0x08);
    EXPECT_EQ(target_->SetModeByte(true, 0x0D, 3, 1), -1);
    EXPECT_FALSE(target_->SetModeBit(true, 0x0D, 3, 0, true));
    for (const auto& entry : manager_->log()) EXPECT_NE(entry.cdb[0], kModeSelect6);

    manager_->clearLog();
    TModeParameterList list;
    std::vector<uint8_t> own(300, 0);
    list.LoadBytes(own.data(), 300);
    EXPECT_THROW(target_->ModeSelect(list, true), EAssertionFailed);
    EXPECT_TRUE(manager_->log().empty());
}

TEST_F(ModePagesTest, ModePageDumpShowsOnlyTheBytesTheListHolds)
{
    EXPECT_EQ(target_->ModePageDump(0x01, 0, "[", ","), "[01,02,AA,BB,");
    device_->on(kModeSense10, [](const emu::Command&) { return Reply::Good(Answer10(Bytes({0x0D, 0x06, 0x00, 0x08}))); });
    device_->on(kModeSense6, [](const emu::Command&) { return Reply::InvalidOpcode(); });
    // The page claims 8 bytes; the 10-byte answer was repaired to what it holds.
    EXPECT_EQ(target_->ModePageDump(0x0D, 0, "", " "), "0D 02 00 08 ");
    // Bytes a 6-byte page claims but does not bring show as dashes.
    device_->on(kModeSense10, [](const emu::Command&) { return Reply::InvalidOpcode(); });
    device_->on(kModeSense6, [](const emu::Command&) { return Reply::Good(Answer6(Bytes({0x0D, 0x04, 0x00, 0x08}))); });
    EXPECT_EQ(target_->ModePageDump(0x0D, 0, "", " "), "0D 04 00 08 -- -- ");
    // Nor bytes of a failed MODE SENSE(10): its page bytes sit where the short 6-byte answer's page would.
    device_->on(kModeSense10, [](const emu::Command&) { return Reply::Good(Bytes({0, 0, 0, 0, 0x0D, 0x02, 0x00, 0x08})); });
    device_->on(kModeSense6, [](const emu::Command&) { return Reply::Good(Bytes({7, 0, 0, 0})); });
    EXPECT_EQ(target_->ModePageDump(0x0D, 0, "", " "), "");
    EXPECT_EQ(target_->GetModeByte(0, 0x0D, 3), -1);
}

// The emulator's drive with the broken answers real drives give.
class EmulatedModeFaultsTest : public AspiFixture {
protected:
    void BuildSystem(emu::Manager& manager) override
    {
        manager.addHostAdapter("EMU_HA");
        emu::InquiryData inquiry;
        inquiry.peripheralType = 5;
        inquiry.vendor = "EMU";
        drive_ = std::make_shared<emu::GenericDevice>(inquiry);
        drive_->modePages().addPage({0x0D, 0x06, 0x00, 0x08, 0x00, 0x3C, 0x00, 0x4B});
        drive_->modePages().addPage({0x2A, 0x04, 0x11, 0x22, 0x33, 0x44});
        manager.attach(0, 0, 0, drive_);
    }
    std::shared_ptr<emu::GenericDevice> drive_;
};

TEST_F(EmulatedModeFaultsTest, EveryKnownBreakageStillReadsThePages)
{
    struct Case {
        const char* name;
        std::function<void(emu::ModeSenseFaults&)> fault;
        uint8_t pageCode;
        const char* dump;
        const char* statistics;
    };
    const char* const both = "0D 06 00 08 00 3C 00 4B 2A 04 11 22 33 44 ";
    const char* const capabilities = "2A 04 11 22 33 44 ";
    const Case cases[] = {
        {"unsupported", [](emu::ModeSenseFaults& f) { f.tenByteUnsupported = true; }, kAllModePages, both,
         "0/1 - 0/0 - 0/0 - 0/0 - 1/0"},
        {"overrun", [](emu::ModeSenseFaults& f) { f.pageLengthOverrun = 3; }, 0x2A, capabilities,
         "1/0 - 0/1 - 1/0 - 0/0 - 0/0"},
        {"header", [](emu::ModeSenseFaults& f) { f.sixByteHeaderIn10 = true; }, kAllModePages, both,
         "1/0 - 0/1 - 0/1 - 1/0 - 0/0"},
        {"descending", [](emu::ModeSenseFaults& f) { f.descendingPages = true; }, kAllModePages, both,
         "1/0 - 0/1 - 0/1 - 0/1 - 1/0"},
    };
    for (const Case& c : cases) {
        drive_->modePages().addPage({0x2A, 0x04, 0x11, 0x22, 0x33, 0x44});
        drive_->modeSenseFaults() = emu::ModeSenseFaults();
        c.fault(drive_->modeSenseFaults());
        TTarget target(0, 0, 0, 0);
        ASSERT_TRUE(target.Initialised()) << c.name;
        EXPECT_EQ(target.ModePageDump(c.pageCode, 0, "", " "), c.dump) << c.name;
        EXPECT_EQ(target.SenseStatistics(), c.statistics) << c.name;
        EXPECT_EQ(target.SetModeByte(true, 0x2A, 3, 0x99), 0x99) << c.name;
    }
}

}  // namespace
