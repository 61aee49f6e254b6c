// The Win32 platform layer against the semantics Wine provides.
#include <gtest/gtest.h>

#include <string>

#include "platform/Event.h"
#include "platform/Library.h"
#include "platform/Time.h"

TEST(Win32Platform, EventTimesOutAndSignals)
{
    platform::Event event;
    ASSERT_TRUE(event.valid());
    const uint32_t before = platform::TickCount();
    EXPECT_FALSE(event.wait(50));
    EXPECT_GE(platform::TickCount() - before, 40u);
    platform::SignalEvent(event.handle());
    EXPECT_TRUE(event.wait(0));
    EXPECT_FALSE(event.wait(0));  // auto-reset
}

TEST(Win32Platform, SystemDirectoryIsTheWineSystem32)
{
    char buffer[200] = {};
    const uint32_t length = platform::SystemDirectory(buffer, sizeof(buffer));
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, 200u);
    EXPECT_EQ(std::string(buffer, length), "C:\\windows\\system32");
}

TEST(Win32Platform, LoadsKernel32AndFindsEntryPoints)
{
    platform::ModuleHandle kernel = platform::LoadModule("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    EXPECT_NE(platform::ModuleProc(kernel, "GetTickCount"), nullptr);
    EXPECT_EQ(platform::ModuleProc(kernel, "NoSuchEntryPoint"), nullptr);
    EXPECT_NE(platform::ModuleFileName(kernel).find("kernel32"), std::string::npos);
    platform::UnloadModule(kernel);
    EXPECT_EQ(platform::LoadModule("C:\\no\\such\\library.dll"), nullptr);
}
