// Speed-step detection on emulated MMC drives with 1, 8 and 24 steps up to 7056 KB/s: commands
// sent and time on the virtual clock for a downward and an upward scan, beside the estimate
// limit / 17 + 17 * steps probes.
#include <benchmark/benchmark.h>

#include <memory>

#include "drive/CDROM.h"
#include "emu/DriveBuilder.h"
#include "platform/Time.h"
#include "platform/host/Host.h"
#include "transport/AspiManager.h"
#include "transport/ScsiCodes.h"

namespace {

constexpr uint32_t kMaximum = 7056;

// n steps evenly up to the maximum; asking a step's own speed selects it.
std::shared_ptr<emu::CdromDrive> SteppedDrive(int n)
{
    auto device = emu::MakeCdromDrive("BENCH   ", "STEPPED CD-ROM  ", "1.00");
    emu::Capabilities caps;
    caps.maxReadKBps = kMaximum;
    device->modePages().setPage(emu::CapabilitiesPage(caps));
    std::vector<std::pair<uint32_t, uint32_t>> steps;
    uint32_t previous = 0;
    for (int i = 1; i <= n; ++i) {
        const uint32_t reported = kMaximum * uint32_t(i) / uint32_t(n);
        steps.push_back({previous == 0 ? 0 : previous + 1, reported});
        previous = reported;
    }
    device->setSpeedModel(emu::MmcSteps(steps));
    return device;
}

void BM_DetectSpeedSteps(benchmark::State& state)
{
    const int steps = int(state.range(0));
    const bool scanDown = state.range(1) != 0;
    size_t commands = 0;
    size_t probes = 0;
    uint32_t virtualMs = 0;
    int found = 0;
    for (auto _ : state) {
        state.PauseTiming();
        platform::host::Reset();
        UnloadASPI32();
        auto manager = std::make_shared<emu::Manager>();
        manager->addHostAdapter("BENCH_HA");
        manager->attach(0, 0, 0, SteppedDrive(steps));
        emu::InstallNative(manager);
        InitASPI32();
        auto drive = std::make_unique<TCDROM>(0, 0, 0);
        manager->clearLog();
        state.ResumeTiming();

        const uint32_t start = platform::TickCount();
        drive->DetectSpeedSteps(false, scanDown);
        virtualMs = platform::TickCount() - start;

        state.PauseTiming();
        const auto log = manager->log();
        commands = log.size();
        probes = 0;
        for (const auto& entry : log) probes += entry.cdb[0] == kSetCdSpeed ? 1 : 0;
        found = drive->SpeedZones->Count();
        drive.reset();
        UnloadASPI32();
        emu::UninstallNative();
        state.ResumeTiming();
    }
    const int limit = int(kMaximum) * 120 / 100;
    state.counters["commands"] = double(commands);
    state.counters["set_cd_speed"] = double(probes);
    state.counters["virtual_ms"] = double(virtualMs);
    state.counters["estimate"] = double(limit / 17 + 17 * steps);
    state.counters["steps_found"] = double(found);
}

BENCHMARK(BM_DetectSpeedSteps)
    ->ArgNames({"steps", "down"})
    ->Args({1, 1})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Args({1, 0})
    ->Args({8, 0})
    ->Args({24, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
