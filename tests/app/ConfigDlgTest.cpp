// The settings dialog on emulated drives: what it shows, what each change sends to the drive
// (checked in the emulator's log) and what it stores.
#include "app/ConfigDlg.h"
#include "emu/Disc.h"
#include "platform/host/HostLoop.h"
#include "settings/Autostart.h"
#include "settings/Language.h"
#include "settings/StoreTestSupport.h"
#include "support/Assertions.h"
#include "transport/ScsiCodes.h"

namespace {

using Dialog = TFormConfigDialog;

class ConfigDlgTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        AssignLanguageTexts(1);
        platform::host::TakeMessages();
    }
    void TearDown() override
    {
        dialog.reset();
        StoreTest::TearDown();
    }

    // Starts the program on the attached drives and shows the dialog; the log then is empty.
    Dialog& Open()
    {
        StartProgram();
        dialog = std::make_unique<Dialog>();
        dialog->Show();
        manager_->clearLog();
        return *dialog;
    }

    static void Tick(uint32_t ms = Dialog::kMinInterval) { platform::host::RunFor(ms); }

    std::unique_ptr<Dialog> dialog;
};

}  // namespace

TEST_F(ConfigDlgTest, TrackBarSpansTheStoredStepsOrOneToTheMaximumSpeed)
{
    // The drive's maximum factor is 40, its fastest step 32.
    for (const auto& [stored, min, max] : {std::tuple{std::vector<int>{}, 1, 40}, {std::vector{24}, 24, 40},
                                           {std::vector{32, 24, 16, 8}, 8, 32}}) {
        manager_->attach(0, 0, 0, MmcDrive("CD-ROM FAST 32  ", 40 * 176));
        platform::RegKey cache = platform::CreateKey(RegRoot::LocalMachine, regnames::DriveKey(0, 0));
        for (size_t i = 0; i < stored.size(); ++i) cache.writeInteger(regnames::SpeedValue(int(i) + 1), stored[i]);
        const Dialog& d = Open();
        EXPECT_EQ(std::tuple(min, max, stored, (max - min) / 2, 32),
                  std::tuple(d.SpeedBar.Min, d.SpeedBar.Max, d.SpeedBar.Ticks, d.SpeedBar.PageSize, d.SpeedBar.Position));
        dialog.reset();
        platform::host::ClearRegistry();
    }
}

TEST_F(ConfigDlgTest, SpeedLabelAndHintFollowTheStepsZoneText)
{
    // Model 10's rows: factor 5 "4x CLV", 11 "6,7x-15,6x CAV", 15 "9,9x-14,3x PCAV"; 24 has none.
    auto drive = emu::MakeCdromDrive("ASUS    ", "CD-S360         ", "1.00");
    drive->modePages().setPage(emu::CapabilitiesPage({}));
    drive->setSpeedModel(emu::MmcSteps({{0, 5 * 176}, {1500, 11 * 176}, {2500, 15 * 176}, {4000, 24 * 176}}));
    manager_->attach(0, 0, 0, drive);
    Dialog& d = Open();
    for (const auto& [position, label, hint] :
         {std::tuple<int, std::string, std::string>{24, "Speed: 24X", "Speed: 24X"},
          {15, "Speed: 9,9x-14,3x PCAV", lg_PCAV_HINT}, {11, "Speed: 6,7x-15,6x CAV", lg_CAV_HINT},
          {5, "Speed: 4x CLV", lg_CLV_HINT}}) {
        d.SpeedBar.Position = position;
        d.SpeedBarChange();
        EXPECT_EQ(std::tuple(label, hint, hint, true),
                  std::tuple(d.SpeedLbl.Caption, d.SpeedLbl.Hint, d.SpeedBar.Hint, d.SpeedBar.ShowHint));
    }
}

TEST_F(ConfigDlgTest, MovingTheSliderOfALockedDriveRelocksAtTheSpeedTheDriveTook)
{
    manager_->attach(0, 0, 0, MmcDrive());
    Dialog& d = Open();
    d.BitCheckLock.Checked = true;
    d.BitCheckLockClick();
    EXPECT_TRUE(SpeedsSet().empty() && ModeSelects().empty());  // the lock is stored, not sent
    EXPECT_EQ(32, ProfileKey("Default").readInteger("LockSpeed"));

    manager_->clearLog();
    d.SpeedBar.Position = 20;  // the drive's step for 20x is 16x
    d.SpeedBarChange();
    EXPECT_EQ(std::tuple(std::vector<int>{20}, kSetCdSpeed), std::tuple(SpeedsSet(), manager_->log().front().cdb[0]));
    EXPECT_EQ(std::tuple(16, std::string("16x")), std::tuple(Drives[0].LockSpeed, Drives[0].LockSpeedStr));
    // Stored is what the drive took, read back before storing.
    const platform::RegKey stored = ProfileKey("Default");
    EXPECT_EQ(std::tuple(16, 16, std::string("16x")),
              std::tuple(stored.readInteger("Speed").value_or(-1), stored.readInteger("LockSpeed").value_or(-1), stored.readString("LockSpeedStr").value_or("")));

    // Changed behind the dialog's back: its timer sets the lock speed again.
    Drives[0].CDROM->SetCDSpeed(32);
    manager_->clearLog();
    Tick();
    EXPECT_EQ(std::vector<int>{16}, SpeedsSet());
    EXPECT_EQ(std::tuple(std::string(" locked to 16x "), TColor::Highlight),
              std::tuple(d.BitCheckLock.Caption, d.BitCheckLock.FontColor));
}

// A value changed while its box is off shows the message, sends nothing and gets the drive's value
// back at the next tick; ticking the box sends nothing, a value then goes out between TEST UNIT
// READYs; unticking puts the drive's default back.
TEST_F(ConfigDlgTest, TimerBoxOffPutsTheDrivesDefaultBackOnSendsNothing)
{
    struct Case {
        TCheckBox Dialog::*box;
        void (Dialog::*click)();
        TSpinEdit Dialog::*edit;
        void (Dialog::*change)();
        int index;  // first byte of the timer in page 0x1A
        int64_t defaultTenths;
        const char* value;
        int driveSeconds;
        const char* message;
    };
    for (const Case& c : {Case{&Dialog::BitStandbyActive, &Dialog::BitStandbyActiveClick, &Dialog::Standby,
                               &Dialog::StandbyChange, 8, 3000, "StandBy", 120,
                               "\" Standby Timer \" has to be checked before setting the standby timer."},
                          Case{&Dialog::BitIdleActive, &Dialog::BitIdleActiveClick, &Dialog::Idle, &Dialog::IdleChange,
                               4, 600, "Idle", 30, "\" Idle Timer \" has to be checked before setting the idle timer."}}) {
        SCOPED_TRACE(c.value);
        manager_->attach(0, 0, 0, MmcDrive());
        Dialog& d = Open();
        (d.*c.edit).Value = 77;
        (d.*c.change)();
        EXPECT_TRUE(manager_->log().empty());
        const auto messages = platform::host::TakeMessages();
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ(std::tuple(platform::MessageKind::Information, size_t(0)), std::tuple(messages[0].kind, messages[0].text.find(c.message)));
        Tick();
        EXPECT_EQ(c.driveSeconds, (d.*c.edit).Value);
        EXPECT_TRUE(ModeSelects().empty());

        manager_->clearLog();
        (d.*c.box).Checked = true;
        (d.*c.click)();
        EXPECT_TRUE(manager_->log().empty());
        (d.*c.edit).Value = 77;
        (d.*c.change)();
        const auto cdbs = Cdbs();
        EXPECT_EQ(std::tuple(kTestUnitReady, kTestUnitReady), std::tuple(cdbs.front()[0], cdbs.back()[0]));
        EXPECT_EQ(std::tuple(int64_t(770), 77), std::tuple(LastTimer(c.index), *ProfileKey("Default").readInteger(c.value)));

        manager_->clearLog();
        (d.*c.box).Checked = false;
        (d.*c.click)();
        EXPECT_EQ(std::tuple(c.defaultTenths, -1),
                  std::tuple(LastTimer(c.index), *ProfileKey("Default").readInteger(c.value)));
        dialog.reset();
    }
}

TEST_F(ConfigDlgTest, PerDiscOffDeletesTheDiscKeyAndMediumDetectionOffLoadsTheDefaultsAtTheNextTick)
{
    auto drive = MmcDrive();
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(emu::TrackKind::Mode1, 20000).volumeId = "HOLIDAY";
    drive->setMedium(disc);
    manager_->attach(0, 0, 0, drive);
    ProfileKey("Default").writeInteger("Speed", 8);
    DebugMode = true;
    Dialog& d = Open();
    d.BitCheckDetectMediumChange.Checked = true;
    d.BitCheckDetectMediumChangeClick();
    Tick();  // the disc is found, "Default" applied
    Tick(Dialog::kMaxInterval);
    const std::string discId = Drives[0].DiscID;
    ASSERT_NE("Default", discId);
    EXPECT_EQ(std::tuple(true, true, std::string("")),
              std::tuple(d.BitCheckIndividual.Visible, d.BitCheckIndividual.Enabled, d.GroupBoxDrive.Caption));
    EXPECT_EQ(std::tuple(true, std::string("300 ms")), std::tuple(d.TimerInterval.Visible, d.TimerInterval.Caption));
    EXPECT_EQ(std::tuple(true, discId), std::tuple(d.StaticCDinserted.Visible, d.StaticCDinserted.Caption));

    d.BitCheckIndividual.Checked = true;
    d.BitCheckIndividualClick();
    ASSERT_TRUE(ProfileExists(0, discId));
    ProfileKey(discId).writeInteger("Speed", 24);
    manager_->clearLog();
    d.BitCheckIndividual.Checked = false;
    d.BitCheckIndividualClick();
    EXPECT_FALSE(ProfileExists(0, discId));
    EXPECT_EQ(std::vector<int>{8}, SpeedsSet());

    manager_->clearLog();
    d.BitCheckDetectMediumChange.Checked = false;
    d.BitCheckDetectMediumChangeClick();
    EXPECT_TRUE(manager_->log().empty());
    EXPECT_EQ(0, platform::OpenKey(RegRoot::CurrentUser, regnames::DriveKey(0, 0)).readInteger("DetectMediumChange"));
    Tick();
    Tick(Dialog::kMaxInterval);  // the first tick loads "Default", the next nothing
    EXPECT_EQ(std::vector<int>{8}, SpeedsSet());
    EXPECT_EQ(std::tuple(false, false, lg_SETTINGSGROUP),
              std::tuple(d.BitCheckIndividual.Visible, d.BitCheckIndividual.Enabled, d.GroupBoxDrive.Caption));
}

TEST_F(ConfigDlgTest, AdaptIntervalMovesTowardTwentyTimesTheRefreshWithinItsBounds)
{
    for (const auto& [interval, elapsed, result] :
         {std::tuple{300u, 0u, 300u}, {300u, 100u, 431u}, {3000u, 0u, 1603u}, {300u, 1000u, 1829u}, {300u, ~0u, 3000u}}) {
        EXPECT_EQ(result, Dialog::AdaptInterval(interval, elapsed)) << interval << " " << elapsed;
    }
}

TEST_F(ConfigDlgTest, StartModeIsStoredWithTheRunEntryOnlyForTheWindowsModes)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartMode = 2;
    Dialog& d = Open();
    EXPECT_EQ(2, d.RadioMode.ItemIndex);
    for (const int mode : {0, 1, 2, 1}) {
        d.RadioMode.ItemIndex = mode;
        d.RadioModeClick();
        const auto run = platform::CreateKey(RegRoot::CurrentUser, regnames::kRunKey).readString("Kalmor");
        EXPECT_EQ(std::tuple(mode, uint8_t(mode)), std::tuple(int(StartMode), ReadStartMode()));
        EXPECT_EQ(mode < 2 ? std::optional(AutostartCommand()) : std::nullopt, run) << mode;
    }
    EXPECT_TRUE(platform::host::TakeMessages().empty() && manager_->log().empty());
}

TEST_F(ConfigDlgTest, StoredTabBeyondTheDrivesIsIgnoredAndEscStoresTheTab)
{
    manager_->attach(0, 0, 0, MmcDrive());
    manager_->attach(0, 1, 0, MmcDrive("CD-ROM OTHER    "));
    for (const auto& [stored, shown] : {std::pair{5, 0}, {1, 1}}) {
        WriteTabIndex(stored);
        Dialog& d = Open();
        EXPECT_EQ(shown, d.TabControl.TabIndex) << stored;
        d.TabControl.TabIndex = 1 - shown;
        d.TabControlChange();
        char key = 'q';
        d.FormKeyPress(key);
        EXPECT_TRUE(d.Visible());
        key = 27;
        d.FormKeyPress(key);
        EXPECT_FALSE(d.Visible() || d.TimerUpdate.Enabled());
        EXPECT_EQ(1 - shown, ReadTabIndex());
    }
}

TEST_F(ConfigDlgTest, PlextorSwitchReachesTheRegistryOnlyWhenTheDriveTakesIt)
{
    auto plextor = emu::MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00");
    plextor->modePages().setPage(emu::PageWithMask(0x31, 8, {{3, 0x04}}, {{3, 0x05}}));
    manager_->attach(0, 0, 0, plextor);
    Dialog& d = Open();
    ASSERT_TRUE(d.BitIdlePlextor.Visible && d.BitSpeedModePlextor.Visible);

    // The record says off while the drive is on: the drive refuses to switch it on again.
    const bool driveIdle = Drives[0].PlextorIdle;
    Drives[0].PlextorIdle = !driveIdle;
    d.BitIdlePlextor.Checked = driveIdle;
    d.BitIdlePlextorClick();
    EXPECT_EQ(std::tuple(!driveIdle, platform::RegType::Missing), std::tuple(bool(Drives[0].PlextorIdle), ProfileKey("Default").valueType("PlextorIdle")));
    Tick();
    EXPECT_EQ(driveIdle, d.BitIdlePlextor.Checked);

    d.BitSpeedModePlextor.Checked = !Drives[0].PlextorGameMode;
    d.BitSpeedModePlextorClick();
    EXPECT_FALSE(ModeSelects().empty());
    EXPECT_EQ(int(Drives[0].PlextorGameMode), ProfileKey("Default").readInteger("PlextorGameMode"));
}

TEST_F(ConfigDlgTest, BrokenInvariantsRaiseTheDialogsAssertions)
{
    manager_->attach(0, 0, 0, emu::MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00"));  // no timers
    Dialog& d = Open();
    Drives[0].HasInactivity = true;  // beside a standby timer
    Drives[0].HasStandbyTimer = true;
    for (const auto& [action, text] : {std::pair<std::function<void()>, std::string>{[&] { d.UpdateSettings(1); },
                                                                                     "UpdateSettings: drv in [0..numDrives-1]"},
                                       {[&] { d.BitIdleActiveClick(); }, "IdleActiveClick: Drives[drv].UseIdleTimer"},
                                       {[&] { d.BitStandbyActiveClick(); }, "Assertion failure"}}) {
        EXPECT_EQ(AssertionOf(action), text + " / ConfigDlg");
    }
}
