// One lock timer tick over 10 emulated drives, each locked and watched for medium changes
// with a data disc in: the steady tick (every drive already at its lock speed), and the tick
// after every drive was set to another speed behind the program's back.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "emu/Disc.h"
#include "emu/DriveBuilder.h"
#include "platform/host/Host.h"
#include "settings/SpeedLock.h"
#include "settings/Store.h"
#include "transport/AspiManager.h"

namespace {

constexpr int kDrives = 10;

std::shared_ptr<emu::CdromDrive> LockedDrive(int n)
{
    auto device = emu::MakeCdromDrive("BENCH   ", "CD-ROM " + std::to_string(n) + "        ", "1.00");
    emu::Capabilities caps;
    caps.maxReadKBps = 32 * 176;
    device->modePages().setPage(emu::CapabilitiesPage(caps));
    device->setSpeedModel(emu::MmcSteps({{0, 4 * 176}, {8 * 176, 8 * 176}, {16 * 176, 16 * 176}, {32 * 176, 32 * 176}}));
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(emu::TrackKind::Mode1, 20000).volumeId = "BENCH";
    device->setMedium(disc);
    return device;
}

void SetStep(emu::CdromDrive& drive, size_t step)
{
    emu::SpeedModel model = drive.speedModel();
    model.current = step;
    drive.setSpeedModel(model);
}

void BM_LockTick(benchmark::State& state)
{
    const bool knockedOff = state.range(0) != 0;
    platform::host::Reset();
    UnloadASPI32();
    auto manager = std::make_shared<emu::Manager>();
    manager->addHostAdapter("BENCH_HA0");
    manager->addHostAdapter("BENCH_HA1");
    std::vector<std::shared_ptr<emu::CdromDrive>> devices;
    for (int n = 0; n < kDrives; ++n) {
        devices.push_back(LockedDrive(n));
        manager->attach(uint8_t(n / 8), uint8_t(n % 8), 0, devices.back());
    }
    emu::InstallNative(manager);
    InitASPI32();
    BuildDriveList();
    for (int d = 0; d < numDrives; ++d) {
        Drives[d].LockSpeed = 16;
        Drives[d].DetectMediumChange = true;
        MonitorDrive(d);  // the first tick takes the disc as new
        MonitorDrive(d);
    }
    size_t commands = 0;
    for (auto _ : state) {
        state.PauseTiming();
        manager->clearLog();
        if (knockedOff)
            for (auto& device : devices) SetStep(*device, 3);
        state.ResumeTiming();
        for (int d = 0; d < numDrives; ++d) MonitorDrive(d);
    }
    commands = manager->log().size();
    state.counters["drives"] = numDrives;
    state.counters["commands"] = double(commands);
    FreeDriveList();
    UnloadASPI32();
    emu::UninstallNative();
}

}  // namespace

BENCHMARK(BM_LockTick)->Arg(0)->Arg(1)->ArgName("knockedOff")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
