// The lock timer keeps running under the debug window, but not while the report owns the drives.
#include "app/ShellTestSupport.h"
#include "diag/RegViewForm.h"
#include "platform/Time.h"

TEST_F(ShellTest, TheLockTimerLeavesTheDrivesToTheReportUntilItEnds)
{
    auto drive = MmcDrive();
    manager_->attach(0, 0, 0, drive);
    ASSERT_TRUE(Start({"/StartUp"}));
    Drives[0].LockSpeed = 8;  // the drive runs at 32x: every lock tick sets it back
    platform::host::QueueAnswer(platform::MessageResult::No);  // no measurement first
    duringModal_ = [&](TForm& form) {
        auto& window = dynamic_cast<TRegViewForm&>(form);
        platform::host::TakeTrayCalls();
        const uint32_t start = platform::TickCount();
        ASSERT_TRUE(platform::host::RunUntil([&] { return !window.Timer.Enabled() && !window.ReportRunning(); }));
        EXPECT_GT(platform::TickCount() - start, main_->LockTimer.Interval());
        EXPECT_TRUE(platform::host::TakeTrayCalls().empty());
        manager_->clearLog();
        drive->setSpeedModel(emu::MmcSteps({{0, 4 * 176}, {32 * 176, 32 * 176}}));
        platform::host::RunFor(main_->LockTimer.Interval());
        EXPECT_EQ(platform::host::TakeTrayCalls().size(), 2u);
        EXPECT_EQ(SpeedsSet(0), std::vector<int>{8});
    };
    main_->DebugInfoClick();
    EXPECT_FALSE(main_->WindowOpen());
}
