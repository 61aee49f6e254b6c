// Measures the 8x step of the first CD-ROM drive behind WNASPI32.DLL as the measurement window
// does: on a worker thread whose end reaches this thread's message loop. Used by the Wine checks:
// our emulated manager sleeps for every read, so the run takes the drive's real time.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "drive/CDROM.h"
#include "measure/BenchReadLinear.h"
#include "platform/Time.h"
#include "transport/AspiManager.h"

namespace {

std::unique_ptr<TCDROM> FirstDrive()
{
    for (uint8_t ha = 0; ha < HostAdaptorCount(); ++ha) {
        for (uint8_t id = 0; id < HostAdaptorRecord(ha).MaxTargets; ++id) {
            auto drive = std::make_unique<TCDROM>(ha, id, 0);
            if (drive->Exists) return drive;
        }
    }
    return nullptr;
}

}  // namespace

int main()
{
    constexpr int kFactor = 8;
    InitASPI32();
    std::unique_ptr<TCDROM> drive = FirstDrive();
    if (!drive) {
        std::printf("no drive (%s)\n", ASPIStatusText().c_str());
        return 1;
    }
    drive->SetCDSpeed(kFactor);
    auto values = std::make_unique<TBenchLinearInfo>();
    TBenchList list;
    list.LockList().push_back(values.get());
    list.UnlockList();
    values->Drive = drive.get();
    values->Density = 100;
    values->SampleTime = 600;
    values->BlocksPerRead = 16;
    values->LinearVelocity = 1300;
    values->SpinUp = true;
    values->TargetSpeed = kFactor;

    const uint32_t start = platform::TickCount();
    bool ended = false;
    auto* thread = new TBenchmarkThread(list);
    thread->OnTerminate = [&] { ended = true; };
    thread->SetPriority(platform::ThreadPriority::Highest);
    MSG message;
    while (!ended && ::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    const uint32_t elapsed = platform::TickCount() - start;
    std::printf("%s, %d samples in %u ms\n", values->Failed ? values->ErrorText.c_str() : values->ResultText.c_str(),
                int(values->Count), unsigned(elapsed));
    drive.reset();
    UnloadASPI32();
    return values->Failed ? 1 : 0;
}
