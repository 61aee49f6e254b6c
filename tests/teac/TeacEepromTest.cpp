// The TEAC EEPROM command per model, the window's buttons and boxes, and the emulated drives
// that keep the written limit and use it for audio reads from their next restart on.
#include <gtest/gtest.h>

#include "emu/DriveBuilder.h"
#include "emu/Scenario.h"
#include "platform/host/Host.h"
#include "platform/Time.h"
#include "settings/Store.h"
#include "support/Assertions.h"
#include "teac/TeacEEPROM.h"
#include "transport/AspiManager.h"

namespace {

using platform::MessageKind;

// Drive indices of teac-eeprom-drives.json, with an MMC drive of another maker appended.
enum : int { kCd532S, kCd524EA, kCd532E, kCd532EA, kCd532EB20, kCd532EB30, kOtherMaker };

class TeacTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::host::Reset();
        UnloadASPI32();
        manager_ = emu::LoadScenario(std::string(KALMOR_SCENARIO_DIR) + "/teac-eeprom-drives.json").manager;
        ASSERT_TRUE(manager_);
        manager_->setCompletion(emu::Completion::Synchronous);
        manager_->attach(1, 5, 0, emu::MakeCdromDrive("ACME    ", "CD-532E-B FAST  ", "3.0B"));
        emu::InstallNative(manager_);
        ASSERT_TRUE(InitASPI32());
        BuildDriveList();
        ASSERT_EQ(numDrives, 7);
        manager_->clearLog();
    }
    void TearDown() override
    {
        FreeDriveList();
        UnloadASPI32();
        emu::UninstallNative();
        platform::host::Reset();
    }

    emu::CdromDrive& Emulated(int index)
    {
        const TCDROM& drive = *Drives[index].CDROM;
        return static_cast<emu::CdromDrive&>(*manager_->device(drive.HaId(), drive.TargetId(), 0));
    }
    std::vector<emu::LogEntry> TakeLog()
    {
        std::vector<emu::LogEntry> log = manager_->log();
        manager_->clearLog();
        return log;
    }
    // Virtual milliseconds a read of 25 audio sectors takes.
    uint32_t AudioReadTime(int index)
    {
        std::vector<uint8_t> buffer(25 * 2352);
        const uint32_t start = platform::TickCount();
        EXPECT_TRUE(Drives[index].CDROM->ReadAudio(0, 25, buffer.data(), uint32_t(buffer.size())));
        return platform::TickCount() - start;
    }

    std::shared_ptr<emu::Manager> manager_;
};

TEST_F(TeacTest, EachModelGetsTheCodeBelowTheRequestInTheVendorCdb)
{
    // Request, then code and factor of the models with a 16x middle step and of the CD-532E-B 3.0B (10x).
    const int cases[][5] = {{0, 2, 4, 2, 4},    {9, 2, 4, 2, 4},    {10, 2, 4, 4, 10},   {15, 2, 4, 4, 10},
                            {16, 4, 16, 4, 10}, {31, 4, 16, 4, 10}, {32, 8, 32, 8, 32},  {255, 8, 32, 8, 32},
                            {256, -1, -1, -1, -1}};
    const std::pair<int, uint8_t> models[] = {{kCd532S, 0xF2}, {kCd524EA, 0xCA}, {kCd532E, 0xCA},
                                              {kCd532EA, 0xCA}, {kCd532EB30, 0xCA}};
    for (const auto& [index, opcode] : models) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(index) + " asks " + std::to_string(c[0]));
            const int code = index == kCd532EB30 ? c[3] : c[1];
            EXPECT_EQ(Drives[index].CDROM->WriteTeacEEPROM(uint32_t(c[0])), index == kCd532EB30 ? c[4] : c[2]);
            const std::vector<emu::LogEntry> log = TakeLog();
            ASSERT_EQ(log.size(), code < 0 ? 0u : 1u);
            if (code < 0) continue;
            EXPECT_EQ(log[0].cdb, (std::vector<uint8_t>{opcode, 0, 0x54, 0x45, 0x41, 0x43, 4, 0, 0, 0, uint8_t(code), 0}));
            EXPECT_EQ(std::tuple(log[0].direction, log[0].length, int(Emulated(index).teacEeprom().storedCode)),
                      std::tuple(emu::Direction::None, 0u, code));
        }
    }
    // Model 124 and another maker's drive do not qualify; the last TEAC drive found is the one.
    for (int index : {kCd532EB20, kOtherMaker}) {
        EXPECT_EQ(std::tuple(Drives[index].CDROM->IsTeacEEPROMDrive(), Drives[index].CDROM->WriteTeacEEPROM(4)), std::tuple(false, -1));
    }
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_EQ(TeacEepromDrive, kCd532EB30);
    EXPECT_EQ(AssertionOf([] { TCDROM(1, 7, 0).WriteTeacEEPROM(4); }), "exists / CDROMTargets");
}

TEST_F(TeacTest, TheWindowWritesTheButtonsLimitsAndSaysWhetherTheDriveTookThem)
{
    const char* const info = "Die neue Einstellung wird erst nach dem nächsten Neustart aktiv";
    const struct {
        int index;
        const char* groupCaption;
        const char* middleCaption;
        int middle;
    } cases[] = {{kCd532S, "TEAC    CD-ROM CD-532S  ", "16x PCAV", 16},
                 {kCd532EB30, "TEAC    CD-532E-B       ", "10x CAV", 10}};
    for (const auto& c : cases) {
        TeacEepromDrive = c.index;
        TFormTeacEEPROM form;
        EXPECT_EQ(std::tuple(form.GroupBox1.Caption, form.Button16.Caption, form.MiddleSpeed),
                  std::tuple(std::string(c.groupCaption), std::string(c.middleCaption), c.middle));
        form.Button16Click();
        form.Button4Click();
        form.Button32Click();
        std::vector<uint8_t> codes;
        for (const emu::LogEntry& entry : TakeLog()) codes.push_back(entry.cdb[10]);
        EXPECT_EQ(codes, (std::vector<uint8_t>{4, 2, 8}));
        const auto shown = platform::host::TakeMessages();
        ASSERT_EQ(shown.size(), 3u);
        for (const auto& box : shown) EXPECT_EQ(std::tuple(box.kind, box.text), std::tuple(MessageKind::Information, info));
    }
    EXPECT_NE(TFormTeacEEPROM().StaticText[1].Caption.find("unterst\xFCtzt"), std::string::npos);  // Windows-1252

    // A unit attention is answered by sending the command again.
    Emulated(kCd532EB30).setSenseResponseCode(0xF0);
    Emulated(kCd532EB30).raiseUnitAttention();
    TFormTeacEEPROM().Button4Click();
    EXPECT_EQ(std::tuple(TakeLog().size(), platform::host::TakeMessages().at(0).kind), std::tuple(2u, MessageKind::Information));

    Emulated(kCd532EB30).teacEeprom().opcode = 0;  // a drive that refuses the command
    TFormTeacEEPROM().Button32Click();
    const auto shown = platform::host::TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(std::tuple(shown[0].kind, shown[0].text), std::tuple(MessageKind::Error, std::string("Fehler beim Schreiben ins EEPROM")));

    for (int invalid : {-1, 7}) {
        TeacEepromDrive = invalid;
        EXPECT_EQ(AssertionOf([] { TFormTeacEEPROM(); }), "Assertion failure / TeacEEPROM");
    }
}

TEST_F(TeacTest, TheEmulatedDriveRefusesAWrongCdbAndUsesTheLimitFromItsNextRestart)
{
    TCDROM& drive = *Drives[kCd532EB30].CDROM;
    const std::vector<std::vector<uint8_t>> wrong = {
        {0xCA, 0, 'T', 'E', 'A', 'X', 4, 0, 0, 0, 8, 0},  // signature
        {0xCA, 0, 'T', 'E', 'A', 'C', 4, 0, 0, 0, 3, 0},  // code
        {0xCA, 0, 'T', 'E', 'A', 'C', 4, 0, 0, 1, 8, 0},  // a byte that must be 0
        {0xCA, 0, 'T', 'E', 'A', 'C', 4, 0, 0, 0},        // length
    };
    for (const auto& cdb : wrong) {
        EXPECT_FALSE(drive.ExecSCSICmd(cdb.data(), uint8_t(cdb.size()), nullptr, 0, DataDirection::None, false, 0));
        EXPECT_EQ(std::tuple(drive.Sense().senseKey, drive.Sense().asc), std::tuple(uint8_t(5), uint8_t(0x24)));
    }
    EXPECT_EQ(Emulated(kCd532EB30).teacEeprom().storedCode, 2);

    // 25 sectors at 4x take 84 ms, at 32x 11 ms.
    EXPECT_EQ(AudioReadTime(kCd532EB30), 84u);
    ASSERT_EQ(drive.WriteTeacEEPROM(32), 32);
    EXPECT_EQ(AudioReadTime(kCd532EB30), 84u);
    for (int restart = 0; restart < 2; ++restart) {
        Emulated(kCd532EB30).powerCycle();
        drive.TestUnitReady();  // takes the unit attention of the power-on
        EXPECT_EQ(AudioReadTime(kCd532EB30), 11u);
    }
    EXPECT_EQ(AudioReadTime(kCd532S), 84u);  // read with the vendor command, held the same way
}

}  // namespace
