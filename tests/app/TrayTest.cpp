// The resident program: the lock timer, medium changes, the tray icon's clicks and menu.
#include "app/About.h"
#include "app/ShellTestSupport.h"
#include "disc/DiscTestSupport.h"
#include "settings/SpeedLock.h"

namespace {
constexpr uint32_t kLeftDown = 0x201;
constexpr uint32_t kRightDown = 0x204;
}  // namespace

class ResidentTest : public ShellTest {
protected:
    // Two drives at targets 0 and 1, started by Windows (no dialog), resident.
    void StartResident()
    {
        a_ = MmcDrive("CD-ROM A        ");
        b_ = MmcDrive("CD-ROM B        ");
        manager_->attach(0, 0, 0, a_);
        manager_->attach(0, 1, 0, b_);
        ASSERT_TRUE(Start({"/StartUp"}));
        manager_->clearLog();
        platform::host::TakeTrayCalls();
    }
    static void RunAtStep(emu::CdromDrive& drive, size_t step)
    {
        emu::SpeedModel model = drive.speedModel();
        model.current = step;
        drive.setSpeedModel(model);
    }
    void WriteProfile(uint8_t target, const std::string& profile, int speed)
    {
        platform::CreateKey(RegRoot::CurrentUser, regnames::ProfileKey(0, target, profile)).writeInteger("Speed", speed);
    }

    std::shared_ptr<emu::CdromDrive> a_;
    std::shared_ptr<emu::CdromDrive> b_;
};

TEST_F(ResidentTest, LockTickSetsADriveBackToItsLockSpeedAndLeavesAnUnreadableOneAlone)
{
    auto unreadable = emu::MakeCdromDrive("ACME    ", "CD-ROM NO SPEED ", "1.00");
    manager_->attach(0, 2, 0, unreadable);
    StartResident();
    ASSERT_EQ(3, numDrives);
    Drives[0].LockSpeed = 8;
    Drives[1].LockSpeed = 32;
    Drives[2].LockSpeed = 8;
    RunAtStep(*a_, 3);  // reads 24

    platform::host::RunFor(5000);
    // Drive 1 is at its lock speed.
    EXPECT_EQ(std::tuple(std::vector<int>{8}, std::vector<int>{}, std::vector<int>{}), std::tuple(SpeedsSet(0), SpeedsSet(1), SpeedsSet(2)));
    // The icon shows the busy state during the tick.
    const auto tray = platform::host::TakeTrayCalls();
    ASSERT_EQ(2u, tray.size());
    EXPECT_EQ(std::tuple(platform::TrayIconKind::Busy, platform::TrayIconKind::Normal), std::tuple(tray[0].icon, tray[1].icon));
}

struct MediumRow {
    const char* name;
    bool detect;
    std::shared_ptr<emu::Disc> before;
    std::shared_ptr<emu::Disc> after;
    bool discProfile;    // the disc put in has a profile of its own (speed 8)
    int loadedSpeed;     // speed of the profile loaded after the change; -1 none
    bool individual;
};

TEST_F(ResidentTest, AMediumChangeLoadsTheProfileOfTheNewDiscOrDefault)
{
    const std::vector<MediumRow> rows = {
        {"disc taken out", true, AudioDisc(3, 20000), nullptr, false, 16, false},
        {"disc with its own profile", true, nullptr, DataDisc("HOLIDAYS"), true, 8, true},
        {"disc without a profile", true, nullptr, DataDisc("OTHER"), false, 16, false},
        {"no medium detection", false, nullptr, DataDisc("HOLIDAYS"), true, -1, false},
        {"no medium detection, disc out", false, AudioDisc(2, 20000), nullptr, false, -1, false},
    };
    for (const MediumRow& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        StartResident();
        WriteProfile(0, "Default", 16);
        Drives[0].DetectMediumChange = row.detect;
        // A drive answers the first command after a disc change with a unit attention
        // (not repeated with sense code 0x70): the disc shows at the tick after.
        a_->disc().changeDisc(row.before);
        platform::host::RunFor(10000);
        if (row.after && row.discProfile) {
            // The identity the program builds for the disc names its profile.
            a_->disc().changeDisc(row.after);
            MediumCheck(0);
            MediumCheck(0);
            WriteProfile(0, Drives[0].DiscID, 8);
            a_->disc().changeDisc(nullptr);
            MediumCheck(0);
            Drives[0].MediumChanged = false;
        }
        manager_->clearLog();
        a_->disc().changeDisc(row.after);

        platform::host::RunFor(10000);
        const std::vector<int> speeds = SpeedsSet(0);
        EXPECT_EQ(std::tuple(row.loadedSpeed, row.individual, row.detect && row.after != nullptr, false, true),
                  std::tuple(speeds.empty() ? -1 : speeds.back(), bool(Drives[0].Individual), bool(Drives[0].CDInserted),
                             bool(Drives[0].MediumChanged), SpeedsSet(1).empty()));
    }
}

TEST_F(ResidentTest, MenuCommandsDoNothingWhileAWindowIsOpen)
{
    StartResident();
    int nested = 0;
    duringModal_ = [&](TForm&) {
        if (++nested > 1) return;
        EXPECT_FALSE(main_->LockTimer.Enabled());
        main_->AboutClick();
        main_->ConfigClick();
        main_->StartSpeedEvaluationClick();
        main_->DebugInfoClick();
        main_->StartAgainClick();
        main_->TrayMessage(kRightDown);
    };
    main_->AboutClick();
    EXPECT_EQ(std::tuple(1, 2, 0), std::tuple(nested, numDrives, main_->PopupMenu1.PopupCount));
    EXPECT_TRUE(platform::host::TakeMessages().empty() && main_->LockTimer.Enabled() && !main_->WindowOpen());
}

TEST_F(ResidentTest, TrayClicksToggleTheSettingsDialogAndARightClickThenOpensNoMenu)
{
    StartResident();
    main_->TrayMessage(kRightDown);
    EXPECT_EQ(1, main_->PopupMenu1.PopupCount);

    bool stillOpen = true;
    duringModal_ = [&](TForm& form) {
        main_->TrayMessage(kRightDown);  // closes the active dialog, opens no menu
        stillOpen = form.Visible();
    };
    main_->TrayMessage(kLeftDown);
    EXPECT_EQ(std::vector<TForm*>{dialog_.get()}, shown_);
    EXPECT_FALSE(stillOpen);
    EXPECT_EQ(1, main_->PopupMenu1.PopupCount);

    duringModal_ = [&](TForm& form) {
        main_->ConfigClick();  // a second Configure closes it
        stillOpen = form.Visible();
    };
    main_->TrayMessage(kLeftDown);
    EXPECT_FALSE(stillOpen);
    EXPECT_EQ(2u, shown_.size());
    EXPECT_TRUE(main_->LockTimer.Enabled());
}

TEST_F(ResidentTest, TheSettingsDialogGoesBottomRightOrToAStoredPlaceNotBeyondIt)
{
    StartResident();
    const int width = dialog_->Width;
    const int height = dialog_->Height;
    struct Row {
        std::optional<platform::ScreenRect> area;
        int storedTop, storedLeft;  // -2: none stored
        int top, left;
    };
    const std::vector<Row> rows = {
        {platform::ScreenRect{0, 0, 1024, 740}, -2, -2, 740 - height, 1024 - width},
        {std::nullopt, -2, -2, 768 - height - 40, 1024 - width - 40},
        {platform::ScreenRect{0, 0, 1024, 740}, 100, 200, 100, 200},
        {platform::ScreenRect{0, 0, 1024, 740}, 100, 1024 - width + 1, 740 - height, 1024 - width},
        {platform::ScreenRect{0, 0, 1024, 740}, 741 - height, 0, 740 - height, 1024 - width},
        {platform::ScreenRect{0, 0, 1024, 740}, -1, 200, 740 - height, 1024 - width},
    };
    for (const Row& row : rows) {
        platform::host::SetWorkArea(row.area);
        platform::DeleteKeyTree(RegRoot::CurrentUser, regnames::kProductKey);
        if (row.storedTop != -2) WriteDialogPosition(row.storedTop, row.storedLeft);
        int top = 0, left = 0;
        duringModal_ = [&](TForm& form) {
            top = form.Top;
            left = form.Left;
        };
        main_->ConfigClick();
        int32_t storedTop = 0, storedLeft = 0;
        ASSERT_TRUE(ReadDialogPosition(storedTop, storedLeft));
        EXPECT_EQ(std::tuple(row.top, row.left, row.top, row.left), std::tuple(top, left, int(storedTop), int(storedLeft)));
    }
}

TEST_F(ResidentTest, AboutShowsVersionAndOpensTheHomepage)
{
    StartResident();
    duringModal_ = [&](TForm& form) {
        auto& about = dynamic_cast<TFormAbout&>(form);
        EXPECT_EQ("About...|Version 1.02|Homepage:", about.Caption + "|" + about.LabelVersion.Caption + "|" + about.Homepage.Caption);
        about.Label2Click();
        about.Panel2Click();
    };
    main_->AboutClick();
    ASSERT_EQ(1u, shown_.size());
    EXPECT_EQ(std::vector<std::string>{kHomepageUrl}, platform::host::TakeOpenedTargets());

    main_->EndTopicClick();
    EXPECT_TRUE(platform::ApplicationTerminated() && !platform::host::TrayIconShown() && !main_->LockTimer.Enabled());
    EXPECT_EQ(0, numDrives);
}
