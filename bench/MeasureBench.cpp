// The linear read measurement as the measurement window runs it (density max(2, 3 x factor + 2)
// per mille, samples of 600 ms, 16 blocks a read, 1300 mm/s, spin-up) on emulated drives of known
// rotation over a 74-minute data disc: per profile the class it should get, the result, the share
// of the disc's blocks read, the virtual time, and the result of reading every block.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "drive/CDROM.h"
#include "emu/DriveBuilder.h"
#include "measure/BenchReadLinear.h"
#include "platform/Time.h"
#include "platform/host/Host.h"
#include "platform/host/HostLoop.h"
#include "transport/AspiManager.h"
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

namespace {

constexpr uint32_t kDiscBlocks = 333000;

struct Profile {
    const char* name;
    emu::Rotation rotation;
    int factor;  // the step's factor, as the window knows it
};

const Profile kProfiles[] = {
    {"CLV 4x", {emu::RotationKind::Clv, 4, 0}, 4},
    {"CLV 8x", {emu::RotationKind::Clv, 8, 0}, 8},
    {"CLV 16x", {emu::RotationKind::Clv, 16, 0}, 16},
    {"CLV 24x", {emu::RotationKind::Clv, 24, 0}, 24},
    {"CAV 8-20x", {emu::RotationKind::Cav, 8, 20}, 20},
    {"CAV 12-32x", {emu::RotationKind::Cav, 12, 32}, 32},
    {"CAV 20-48x", {emu::RotationKind::Cav, 20, 48}, 48},
    {"PCAV 16-24x", {emu::RotationKind::Pcav, 16, 24}, 24},
    {"PCAV 20-32x", {emu::RotationKind::Pcav, 20, 32}, 32},
    {"PCAV 24-40x", {emu::RotationKind::Pcav, 24, 40}, 40},
};

// What a perfect measurement reports: CAV labels turn at the speed between their two factors.
std::string Expected(const emu::Rotation& r)
{
    char text[64];
    if (r.kind == emu::RotationKind::Clv) {
        std::snprintf(text, sizeof text, "%.1fx/CLV", r.from);
    } else if (r.kind == emu::RotationKind::Cav) {
        const double inner = std::sqrt(r.from * r.to * 25 / 58);
        std::snprintf(text, sizeof text, "%.1fx-%.1fx/CAV", inner, inner * 58 / 25);
    } else {
        std::snprintf(text, sizeof text, "%.1fx-%.1fx/PCAV", r.from, r.to);
    }
    return text;
}

struct Outcome {
    std::string text;
    double share = 0;  // of the disc's blocks read
    uint32_t virtualMs = 0;
    int samples = 0;
};

Outcome Measure(const Profile& profile, int density)
{
    platform::host::Reset();
    UnloadASPI32();
    auto manager = std::make_shared<emu::Manager>();
    manager->addHostAdapter("BENCH_HA");
    auto device = emu::MakeCdromDrive("BENCH   ", "SPINNING CD-ROM ", "1.00");
    emu::Capabilities caps;
    caps.maxReadKBps = uint16_t(profile.factor * 1764 / 10);
    device->modePages().setPage(emu::CapabilitiesPage(caps));
    emu::SpeedModel model = emu::MmcSteps({{0, caps.maxReadKBps}});
    model.steps[0].rotation = profile.rotation;
    model.spinUpMs = 1800;
    model.seekMs = 110;
    device->setSpeedModel(model);
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(emu::TrackKind::Mode1, kDiscBlocks);
    device->setMedium(disc);
    manager->attach(0, 0, 0, device);
    emu::InstallNative(manager);
    InitASPI32();

    Outcome outcome;
    {
        TCDROM drive(0, 0, 0);
        drive.SetCDSpeed(profile.factor);
        platform::SleepMs(2000);
        manager->clearLog();
        auto values = std::make_unique<TBenchLinearInfo>();
        TBenchList list;
        list.LockList().push_back(values.get());
        list.UnlockList();
        values->Drive = &drive;
        values->Density = density;
        values->SampleTime = 600;
        values->BlocksPerRead = 16;
        values->LinearVelocity = 1300;
        values->SpinUp = true;
        values->TargetSpeed = profile.factor;

        const uint32_t start = platform::TickCount();
        bool ended = false;
        auto* thread = new TBenchmarkThread(list);
        thread->OnTerminate = [&] { ended = true; };
        platform::host::RunUntil([&] { return ended; });
        outcome.virtualMs = platform::TickCount() - start;
        outcome.text = values->Failed ? "failed: " + values->ErrorText : values->ResultText;
        outcome.samples = values->Count;
        uint64_t blocks = 0;
        for (const emu::LogEntry& e : manager->log()) {
            if (e.cdb[0] == kReadCd) blocks += getBe24(&e.cdb[6]);
        }
        outcome.share = double(blocks) / kDiscBlocks;
    }
    UnloadASPI32();
    emu::UninstallNative();
    return outcome;
}

void BM_MeasureProfile(benchmark::State& state)
{
    const Profile& profile = kProfiles[state.range(0)];
    const int density = std::max(2, 3 * profile.factor + 2);
    Outcome window, everyBlock;
    for (auto _ : state) {
        window = Measure(profile, density);
        everyBlock = Measure(profile, 1000);
    }
    state.SetLabel(std::string(profile.name) + " | expected " + Expected(profile.rotation) + " | measured " +
                   window.text + " | every block " + everyBlock.text);
    state.counters["density"] = density;
    state.counters["samples"] = window.samples;
    state.counters["read_pct"] = window.share * 100;
    state.counters["virtual_s"] = window.virtualMs / 1000.0;
    state.counters["all_virtual_s"] = everyBlock.virtualMs / 1000.0;
}

BENCHMARK(BM_MeasureProfile)->DenseRange(0, int(std::size(kProfiles)) - 1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
