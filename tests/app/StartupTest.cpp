// The program's entry and its start-up chain on emulated drives.
#include "app/Program.h"
#include "app/ShellTestSupport.h"
#include "platform/host/HostSystem.h"
#include "platform/host/HostSystemInfo.h"
#include "transport/AspiManager.h"

using platform::MessageKind;
using platform::host::TrayIconShown;

TEST_F(ShellTest, StartupChainExaminesEachDriveInOrderAndGoesResident)
{
    manager_->attach(0, 1, 0, MmcDrive("CD-ROM FAST 32  "));
    manager_->attach(0, 4, 0, MmcDrive("DVD-ROM SLOW 24 ", 24 * 176));
    ASSERT_TRUE(Start({"/StartUp"}));

    EXPECT_EQ((std::vector<std::string>{"Kalmor searches for drives...", "initialize ASPI manager",
                                        "examine ACME FAST 32", "examine ACME SLOW 24", "initialize ACME FAST 32",
                                        "initialize ACME SLOW 24"}),
              hints_);
    EXPECT_TRUE(!main_->Visible() && main_->Homepage.Visible && main_->HomepageURL.Visible && !main_->ProgressPanel.Visible &&
                !main_->ConfigTeac.Visible && main_->LockTimer.Enabled());
    EXPECT_EQ("Version 1.02|E&xit", main_->LabelVersion.Caption + "|" + main_->EndTopic.Caption);
    const auto tray = platform::host::TakeTrayCalls();
    ASSERT_EQ(1u, tray.size());
    EXPECT_EQ(std::tuple(platform::TrayAction::Add, std::string("Kalmor")), std::tuple(tray[0].action, tray[0].tip));
    EXPECT_TRUE(platform::host::TakeMessages().empty() && shown_.empty());  // started by Windows: no dialog
    // Each drive's cache was written by its detection.
    EXPECT_EQ(std::tuple(32, 24), std::tuple(DetectedSpeed(0, 1), DetectedSpeed(1, 1)));
}

struct FailureRow {
    const char* name;
    std::function<void(emu::Manager&)> build;
    MessageKind kind;
    std::string text;
    bool ends;
};

TEST_F(ShellTest, EachStartupFailureShowsItsMessage)
{
    auto slow = MmcDrive();
    auto model = slow->speedModel();
    model.commandMs = 400;
    slow->setSpeedModel(model);
    const std::vector<FailureRow> rows = {
        {"ASPI configuration repaired",
         [](emu::Manager&) {
             // Windows NT 4.0 whose ASPI manager ignores the loaded ATAPI miniport; the user says Yes.
             platform::host::SetOsVersion(platform::OsVersionRecord{4, 0, 1381, " Service Pack 6a"});
             platform::CreateKey(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters")
                 .writeString("ExcludeMiniports", "ATAPI");
             platform::CreateKey(RegRoot::LocalMachine, "HARDWARE\\RESOURCEMAP\\ScsiAdapter\\atapi");
         },
         MessageKind::Information, "Please restart Windows.", true},
        {"manager unusable", [](emu::Manager& m) { m.setSupportInfoOverride(0xE800); }, MessageKind::Error,
         "WinASPI32 doesn't work: SS_NO_ADAPTERS", true},
        {"no host adapter", [](emu::Manager& m) { m.setSupportInfoOverride(0x0100); }, MessageKind::Error,
         "Cannot find host adaptor.", true},
        {"slow drive", [&](emu::Manager& m) { m.attach(0, 0, 0, slow); }, MessageKind::Information,
         "Detection was slow. If you send the author Debug Information, the next version of Kalmor will be able "
         "to initialize this drive much faster.",
         false},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        row.build(*manager_);
        ASSERT_TRUE(Start({"/StartUp"}));
        const auto messages = platform::host::TakeMessages();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(std::tuple(row.kind, row.text, std::string("Kalmor")),
                  std::tuple(messages.back().kind, messages.back().text, messages.back().caption));
        EXPECT_EQ(std::tuple(row.ends, !row.ends, false), std::tuple(platform::ApplicationTerminated(), TrayIconShown(), main_->Visible()));
    }
}

TEST_F(ShellTest, WithoutDrivesTheProgramStaysResidentAndCommandsNeedingDrivesSaySo)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(TrayIconShown() && shown_.empty());
    main_->ConfigClick();
    main_->StartSpeedEvaluationClick();
    const auto messages = platform::host::TakeMessages();
    ASSERT_EQ(2u, messages.size());
    for (const auto& message : messages) {
        EXPECT_EQ(MessageKind::Error, message.kind);
        EXPECT_EQ("Cannot find drives", message.text);
    }
    EXPECT_FALSE(main_->WindowOpen());
}

TEST_F(ShellTest, ProgramEntryRefusesOldWindowsAndASecondCopy)
{
    platform::host::SetProgramFileName("C:\\Tools\\Kalmor.EXE");
    EXPECT_EQ("Kalmor", ProgramTitle());

    const size_t srbs = manager_->srbCount();
    platform::host::SetOsVersion(platform::OsVersionRecord{3, 51, 1057, ""});
    EXPECT_EQ(1, ProgramMain({}));
    platform::host::SetOsVersion(platform::OsVersionRecord{4, 0, 1381, " Service Pack 6"});
    platform::host::HoldForeignMutex("einzigartig_Kalmor");
    EXPECT_EQ(1, ProgramMain({}));

    const auto messages = platform::host::TakeMessages();
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ(std::tuple(MessageKind::Plain, std::string("Kalmor needs Windows 95 or NT 4!")), std::tuple(messages[0].kind, messages[0].text));
    EXPECT_EQ("Kalmor has already been started.|Kalmor", messages[1].text + "|" + messages[1].caption);
    EXPECT_EQ(srbs, manager_->srbCount());  // nothing was started
}

TEST_F(ShellTest, StartByWindowsInStartModeOneAppliesEveryDefaultProfileAndEnds)
{
    manager_->attach(0, 0, 0, MmcDrive());
    manager_->attach(0, 2, 0, MmcDrive("CD-ROM OTHER    "));
    CacheDetection();
    WriteStartMode(1);
    platform::CreateKey(RegRoot::CurrentUser, regnames::ProfileKey(0, 0, "Default")).writeInteger("Speed", 8);
    platform::CreateKey(RegRoot::CurrentUser, regnames::ProfileKey(0, 2, "Default")).writeInteger("Speed", 16);
    platform::host::SetProgramFileName("C:\\Kalmor\\kalmor.exe");
    manager_->clearLog();

    // The whole program, as Windows starts it at log-on.
    EXPECT_EQ(0, ProgramMain({"/StartUp"}));
    EXPECT_EQ(std::tuple(std::vector<int>{8}, std::vector<int>{16}), std::tuple(SpeedsSet(0), SpeedsSet(2)));
    EXPECT_TRUE(platform::host::TakeTrayCalls().empty() && platform::host::TakeMessages().empty());
    EXPECT_EQ(0, numDrives);
}

// A user start shows the settings dialog once the splash is hidden, the lock paused meanwhile;
// with the quit option (in any case) the program ends after it.
TEST_F(ShellTest, UserStartOpensTheSettingsDialogOnceTheSplashIsHidden)
{
    for (const char* option : {"", "-Q", "-QUIT"}) {
        SCOPED_TRACE(option);
        TearDown();
        SetUp();
        shown_.clear();
        manager_->attach(0, 0, 0, MmcDrive());
        const bool quit = *option != 0;
        bool splashHidden = false;
        bool lockPaused = false;
        duringModal_ = [&](TForm&) {
            splashHidden = !main_->Visible();
            lockPaused = !main_->LockTimer.Enabled();
            EXPECT_TRUE(main_->WindowOpen());
        };
        ASSERT_TRUE(Start(quit ? std::vector<std::string>{option} : std::vector<std::string>{}));
        ASSERT_EQ(std::vector<TForm*>{dialog_.get()}, shown_);
        EXPECT_TRUE(splashHidden && lockPaused && !main_->WindowOpen());
        EXPECT_EQ(std::tuple(!quit, quit, !quit, quit ? 0 : 1),
                  std::tuple(main_->LockTimer.Enabled(), platform::ApplicationTerminated(), TrayIconShown(), numDrives));
    }
}

TEST_F(ShellTest, RestartRunsTheWholeChainAgainInTheSameProcess)
{
    auto drive = MmcDrive();
    manager_->attach(0, 0, 0, drive);
    ASSERT_TRUE(Start({"/StartUp"}));
    manager_->attach(0, 3, 0, MmcDrive("CD-ROM NEW 24   ", 24 * 176));
    hints_.clear();
    platform::host::TakeTrayCalls();

    main_->StartAgainClick();
    EXPECT_TRUE(main_->Visible() && main_->HourglassCursor && !main_->LockTimer.Enabled());
    EXPECT_EQ(0, numDrives);
    ASSERT_TRUE(platform::host::RunUntil([this] { return main_->LockTimer.Enabled(); }, 60000));

    EXPECT_EQ(std::tuple(2, std::string("examine ACME NEW 24")), std::tuple(numDrives, hints_[3]));
    EXPECT_FALSE(main_->Visible() || platform::ApplicationTerminated());
    const auto tray = platform::host::TakeTrayCalls();
    ASSERT_EQ(1u, tray.size());
    EXPECT_EQ(platform::TrayAction::Add, tray[0].action);
}
