// Commands per second of TEST UNIT READY through TTarget::ExecSCSICmd and straight into
// the emulated manager, and what the transport adds per command.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>

#include "emu/Emulator.h"
#include "platform/Event.h"
#include "transport/Aspi.h"
#include "transport/AspiManager.h"
#include "transport/ScsiCodes.h"
#include "transport/Target.h"

namespace {

// Answers INQUIRY and reports ready to everything else.
class ReadyDevice : public emu::Device {
public:
    uint8_t peripheralType() const override { return 5; }
    emu::Reply execute(const emu::Command& command) override
    {
        if (command.cdb[0] != kInquiry) return emu::Reply::Good();
        std::vector<uint8_t> inquiry(36, 0);
        inquiry[0] = 5;
        inquiry[4] = 31;
        std::memcpy(&inquiry[8], "BENCH   READY DRIVE     1.00", 28);
        return emu::Reply::Good(inquiry);
    }
};

// The emulator's command log grows with every command; both paths clear it equally often.
constexpr int64_t kLogClearInterval = 4096;

class BenchSystem {
public:
    BenchSystem() : manager(std::make_shared<emu::Manager>())
    {
        manager->addHostAdapter("BENCH_HA");
        manager->attach(0, 0, 0, std::make_shared<ReadyDevice>());
        emu::InstallNative(manager);
        InitASPI32();
        target = std::make_unique<TTarget>(0, 0, 0, 0);
        std::memset(&srb, 0, sizeof(srb));
        srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
        srb.SRB_Flags = SRB_EVENT_NOTIFY;
        srb.SRB_SenseLen = SENSE_LEN;
        srb.SRB_CDBLen = 6;
        srb.SRB_PostProc = event.handle();
    }
    ~BenchSystem()
    {
        target.reset();
        UnloadASPI32();
        emu::UninstallNative();
    }

    bool Direct()
    {
        manager->sendCommand(&srb);
        event.reset();
        return srb.SRB_Status == SS_COMP;
    }

    std::shared_ptr<emu::Manager> manager;
    std::unique_ptr<TTarget> target;
    platform::Event event;
    SRB_ExecSCSICmd srb;
};

void BM_TestUnitReadyThroughExecSCSICmd(benchmark::State& state)
{
    BenchSystem system;
    int64_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(system.target->TestUnitReady());
        if (++n % kLogClearInterval == 0) system.manager->clearLog();
    }
    state.counters["commands_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_TestUnitReadyStraightIntoEmulator(benchmark::State& state)
{
    BenchSystem system;
    int64_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(system.Direct());
        if (++n % kLogClearInterval == 0) system.manager->clearLog();
    }
    state.counters["commands_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Both paths alternately in one run, so that they see the same machine state.
void BM_TransportCostPerCommand(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    BenchSystem system;
    double transportUs = 0;
    double directUs = 0;
    int64_t n = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(system.target->TestUnitReady());
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(system.Direct());
        const auto t2 = Clock::now();
        transportUs += std::chrono::duration<double, std::micro>(t1 - t0).count();
        directUs += std::chrono::duration<double, std::micro>(t2 - t1).count();
        if (++n % kLogClearInterval == 0) system.manager->clearLog();
    }
    const double count = double(state.iterations());
    state.counters["transport_us"] = transportUs / count;
    state.counters["direct_us"] = directUs / count;
    state.counters["cost_us"] = (transportUs - directUs) / count;
}

}  // namespace

BENCHMARK(BM_TestUnitReadyThroughExecSCSICmd);
BENCHMARK(BM_TestUnitReadyStraightIntoEmulator);
BENCHMARK(BM_TransportCostPerCommand);
BENCHMARK_MAIN();
