// The Win32 platform layer against the semantics Wine provides.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/Event.h"
#include "platform/Library.h"
#include "platform/MainLoop.h"
#include "platform/Thread.h"
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

namespace {
class SleepyWorker : public platform::Thread {
protected:
    void Execute() override { platform::SleepMs(30); }
};
}  // namespace

TEST(Win32Platform, TimersTasksAndAWorkersEndRunInTheMessageLoop)
{
    int ticks = 0;
    bool posted = false;
    bool ended = false;
    platform::Timer timer(10);
    timer.OnTimer = [&] { ++ticks; };
    timer.SetEnabled(true);
    auto* worker = new SleepyWorker;
    worker->FreeOnTerminate = true;
    worker->OnTerminate = [&] {
        ended = true;
        platform::PostToMainThread([&] { posted = true; });
    };
    worker->Start();
    const uint32_t start = platform::TickCount();
    MSG message;
    while (!(posted && ticks >= 3) && platform::TickCount() - start < 5000 && ::GetMessageA(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&message);
    timer.SetEnabled(false);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(posted);
    EXPECT_GE(ticks, 3);
}
