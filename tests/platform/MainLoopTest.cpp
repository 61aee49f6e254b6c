// The native main loop: timers on the virtual clock, posted tasks, and worker threads whose
// end arrives on the pumping thread.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/Thread.h"
#include "platform/Time.h"
#include "platform/host/Host.h"
#include "platform/host/HostLoop.h"

namespace {

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override { platform::host::Reset(); }
};

TEST_F(MainLoop, TimersTickOnTheVirtualClockAndLateTicksFireOnce)
{
    std::vector<uint32_t> ticks;
    platform::Timer timer(100);
    timer.OnTimer = [&] {
        ticks.push_back(platform::TickCount());
        if (ticks.size() == 2) platform::SleepMs(350);  // a slow handler
    };
    timer.SetEnabled(true);
    platform::host::RunFor(600);
    // 100, 200 (takes until 550), one late tick at 550, then 650 is beyond the period.
    EXPECT_EQ(ticks, (std::vector<uint32_t>{100, 200, 550}));
    EXPECT_EQ(platform::TickCount(), 600u);

    timer.SetEnabled(false);
    platform::host::RunFor(1000);
    EXPECT_EQ(ticks.size(), 3u);
    timer.SetInterval(50);
    timer.SetEnabled(true);
    platform::host::RunFor(50);
    EXPECT_EQ(ticks.back(), 1650u);
}

TEST_F(MainLoop, AHandlerIsNotReenteredAndMayDeleteItsTimer)
{
    auto* timer = new platform::Timer(10);
    int entered = 0;
    timer->OnTimer = [&] {
        ++entered;
        platform::SleepMs(100);
        platform::host::PumpMessages();  // a modal loop inside the handler
        delete timer;
    };
    timer->SetEnabled(true);
    platform::host::RunFor(500);
    EXPECT_EQ(entered, 1);
}

TEST_F(MainLoop, RunUntilStopsWhenNothingIsLeft)
{
    bool ran = false;
    platform::PostToMainThread([&] { ran = true; });
    EXPECT_FALSE(platform::host::RunUntil([] { return false; }, 1000));
    EXPECT_TRUE(ran);
    EXPECT_EQ(platform::TickCount(), 0u);
}

class Worker : public platform::Thread {
public:
    explicit Worker(bool fail, uint32_t ms = 2000) : fail_(fail), ms_(ms) {}
    std::thread::id ranOn;

protected:
    void Execute() override
    {
        ranOn = std::this_thread::get_id();
        platform::SleepMs(ms_);
        if (fail_) throw std::runtime_error("drive gone");
    }

private:
    bool fail_;
    uint32_t ms_;
};

// A worker's end, even by an exception (reported, not fatal), runs on the pumping thread and frees it.
TEST_F(MainLoop, AWorkersEndRunsOnThePumpingThreadAndFreesIt)
{
    for (const bool fail : {false, true}) {
        auto* worker = new Worker(fail);
        std::thread::id endedOn;
        bool ended = false;
        worker->FreeOnTerminate = true;
        worker->OnTerminate = [&] {
            endedOn = std::this_thread::get_id();
            EXPECT_TRUE(worker->Finished());
            EXPECT_NE(worker->ranOn, endedOn);
            EXPECT_EQ(worker->FatalError(), fail ? "drive gone" : "");
            ended = true;
        };
        worker->Start();
        EXPECT_TRUE(platform::host::RunUntil([&] { return ended; }, 10000));
        EXPECT_EQ(endedOn, std::this_thread::get_id());
        EXPECT_EQ(platform::host::RunningThreads(), 0);
    }
}

// A worker that ends while the loop looks for work is never missed: the loop sees it running
// or its end queued, never neither.
TEST_F(MainLoop, AWorkerEndingAtOnceIsNeverMissed)
{
    for (int i = 0; i < 10000; ++i) {
        auto* worker = new Worker(false, 0);
        bool ended = false;
        worker->FreeOnTerminate = true;
        worker->OnTerminate = [&] { ended = true; };
        worker->Start();
        ASSERT_TRUE(platform::host::RunUntil([&] { return ended; })) << i;
    }
}

}  // namespace
