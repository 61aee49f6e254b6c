// The drive report of the default emulated system without and with the SET CD SPEED sweeps:
// commands sent (all, SET CD SPEED, MODE SENSE) and time on the virtual clock, beside the
// wall-clock time of building it.
#include <benchmark/benchmark.h>

#include <memory>

#include "diag/DriveReport.h"
#include "emu/Emulator.h"
#include "emu/Scenario.h"
#include "platform/Time.h"
#include "platform/host/Host.h"
#include "settings/Store.h"
#include "transport/AspiManager.h"
#include "transport/ScsiCodes.h"

namespace {

void BM_DebugReport(benchmark::State& state)
{
    const bool sweeps = state.range(0) != 0;
    size_t commands = 0;
    size_t setCdSpeed = 0;
    size_t modeSense = 0;
    uint32_t virtualMs = 0;
    int lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        platform::host::Reset();
        UnloadASPI32();
        auto manager = emu::DefaultScenario();
        emu::InstallNative(manager);
        InitASPI32();
        // As when the user opens the report: drives built and their steps detected.
        BuildDriveList();
        for (int i = 0; i < numDrives; ++i) DetectSpeeds(i, false);
        manager->clearLog();
        TStringLineList report;
        state.ResumeTiming();

        const uint32_t start = platform::TickCount();
        BuildDebugReport(report, sweeps);
        virtualMs = platform::TickCount() - start;

        state.PauseTiming();
        const auto log = manager->log();
        commands = log.size();
        setCdSpeed = 0;
        modeSense = 0;
        for (const auto& entry : log) {
            setCdSpeed += entry.cdb[0] == kSetCdSpeed ? 1 : 0;
            modeSense += entry.cdb[0] == kModeSense10 || entry.cdb[0] == kModeSense6 ? 1 : 0;
        }
        lines = report.Count();
        FreeDriveList();
        UnloadASPI32();
        emu::UninstallNative();
        state.ResumeTiming();
    }
    state.counters["commands"] = double(commands);
    state.counters["set_cd_speed"] = double(setCdSpeed);
    state.counters["mode_sense"] = double(modeSense);
    state.counters["virtual_ms"] = double(virtualMs);
    state.counters["lines"] = double(lines);
}

BENCHMARK(BM_DebugReport)->ArgName("sweeps")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
