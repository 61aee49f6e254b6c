#include <gtest/gtest.h>

#include <thread>

#include "platform/Event.h"
#include "platform/Library.h"
#include "platform/Time.h"
#include "platform/host/Host.h"

namespace {
uint32_t ASPI_Answer() { return 42; }
}

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

TEST(HostPlatform, ModulesAreFoundByFileNameOrBaseName)
{
    platform::host::RegisterModule("C:\\windows\\system32\\TEST.DLL", {{"Answer", reinterpret_cast<void*>(&ASPI_Answer)}});
    platform::ModuleHandle byPath = platform::LoadModule("c:\\WINDOWS\\system32\\test.dll");
    ASSERT_NE(byPath, nullptr);
    EXPECT_EQ(platform::LoadModule("test.dll"), byPath);
    EXPECT_EQ(platform::ModuleFileName(byPath), "C:\\windows\\system32\\TEST.DLL");
    EXPECT_EQ(platform::ModuleProc(byPath, "Answer"), reinterpret_cast<void*>(&ASPI_Answer));
    EXPECT_EQ(platform::ModuleProc(byPath, "Missing"), nullptr);
    EXPECT_EQ(platform::LoadModule("D:\\other\\test.dll"), nullptr);
    platform::host::UnregisterModule("C:\\windows\\system32\\TEST.DLL");
    EXPECT_EQ(platform::LoadModule("test.dll"), nullptr);
}

TEST(HostPlatform, SystemDirectoryReportsNeededSizeWhenTooSmall)
{
    char buffer[200];
    EXPECT_EQ(platform::SystemDirectory(buffer, sizeof(buffer)), 19u);
    EXPECT_STREQ(buffer, "C:\\windows\\system32");
    EXPECT_EQ(platform::SystemDirectory(buffer, 10), 20u);
}
