#include <gtest/gtest.h>

#include <thread>

#include "platform/Event.h"
#include "platform/Time.h"
#include "platform/host/Host.h"

TEST(HostPlatform, EventsAreAutoResetAndTimeOutsRunOnTheVirtualClock)
{
    platform::host::SetClock(1000);
    platform::Event event;
    platform::SignalEvent(event.handle());
    EXPECT_TRUE(event.wait(10));
    EXPECT_FALSE(event.wait(120000));
    EXPECT_EQ(platform::TickCount(), 121000u);
    platform::SleepMs(5);
    EXPECT_EQ(platform::TickCount(), 121005u);
}

TEST(HostPlatform, WaitBlocksForAnnouncedCompletionFromAnotherThread)
{
    platform::host::SetClock(0);
    platform::Event event;
    platform::AsyncCompletionBegin();
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        platform::SignalEvent(event.handle());
        platform::AsyncCompletionEnd();
    });
    EXPECT_TRUE(event.wait(5000));
    worker.join();
    EXPECT_EQ(platform::TickCount(), 0u);  // no time-out charged
}
