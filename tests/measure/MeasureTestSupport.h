#pragma once
// Whole measurement runs: an emulated drive whose steps spin as told, a TBenchmarkThread started
// as the measurement window starts it, and the main loop run on the virtual clock until the
// thread's end has arrived there.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "disc/DiscTestSupport.h"
#include "measure/BenchReadLinear.h"
#include "platform/Time.h"
#include "platform/host/HostLoop.h"
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

inline emu::Rotation Clv(int factor) { return {emu::RotationKind::Clv, double(factor), 0}; }
inline emu::Rotation Cav(int from, int to) { return {emu::RotationKind::Cav, double(from), double(to)}; }
inline emu::Rotation Pcav(int from, int to) { return {emu::RotationKind::Pcav, double(from), double(to)}; }

inline std::shared_ptr<emu::Disc> LongDataDisc(uint32_t blocks = 333000)
{
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(emu::TrackKind::Mode1, blocks);
    return disc;
}

// A drive of one step per rotation (factor, rotation; slowest first) at its fastest step. A step
// of factor F reports F * 176.4 KB/s.
inline std::shared_ptr<emu::CdromDrive> SpinningDrive(const std::string& product,
                                                     const std::vector<std::pair<int, emu::Rotation>>& steps)
{
    auto drive = emu::MakeCdromDrive("EMULATED", product, "1.00");
    emu::SpeedModel model;
    for (const auto& [factor, rotation] : steps)
        model.steps.push_back({uint32_t(factor * 176), uint32_t(factor * 1764 / 10), -1, rotation, {}});
    model.current = steps.size() - 1;
    drive->setSpeedModel(model);
    emu::Capabilities caps;
    caps.maxReadKBps = uint16_t(model.steps.back().reportedKBps);
    drive->modePages().setPage(emu::CapabilitiesPage(caps));
    return drive;
}

class MeasureTest : public DiscTest {
protected:
    void SetUp() override
    {
        DiscTest::SetUp();
        list_.LockList().push_back(values_.get());
        list_.UnlockList();
    }

    // A spinning drive of the family holding the disc, opened. The watcher sees every command
    // first and may fail it.
    std::unique_ptr<TCDROM> OpenSpinning(const std::vector<std::pair<int, emu::Rotation>>& steps,
                                         std::shared_ptr<emu::Disc> disc, uint8_t family = FamilyMmc,
                                         FailingCommands::Filter watcher = nullptr)
    {
        emu_ = SpinningDrive("CD-ROM SPINNING", steps);
        emu_->disc().commands() = emu::DiscReadCommandsOfFamily(family);
        emu::SpeedModel model = emu_->speedModel();
        model.spinUpMs = 1500;
        model.seekMs = 100;
        emu_->setSpeedModel(model);
        emu_->setMedium(std::move(disc));
        std::shared_ptr<emu::Device> device = emu_;
        if (watcher) device = std::make_shared<FailingCommands>(emu_, watcher);
        std::unique_ptr<TCDROM> drive = Open(device);
        drive->Family = family;
        return drive;
    }

    // The in-fields as the measurement window sets them for a step of this factor.
    void WindowSettings(TCDROM& drive, int factor)
    {
        *values_ = TBenchLinearInfo{};
        values_->Drive = &drive;
        values_->Density = std::max(2, 3 * factor + 2);
        values_->SampleTime = 600;
        values_->BlocksPerRead = 16;
        values_->LinearVelocity = 1300;
        values_->SpinUp = true;
        values_->TargetSpeed = factor;
    }

    // Starts the thread and runs the main loop until its end has been handled there. fatal: the
    // start of the programming error expected to end the thread.
    TBenchLinearInfo& Run(const std::string& fatal = "")
    {
        bool ended = false;
        std::string error;
        auto* thread = new TBenchmarkThread(list_);
        thread->OnTerminate = [&] {
            error = thread->FatalError();
            ended = true;
        };
        thread->SetPriority(platform::ThreadPriority::Highest);
        const uint32_t start = platform::TickCount();
        EXPECT_TRUE(platform::host::RunUntil([&] { return ended; }));
        runMs_ = platform::TickCount() - start;
        if (fatal.empty()) {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(error.rfind(fatal, 0), 0u) << error;
        }
        return *values_;
    }

    // READ CD commands since the log was last cleared: one per read step of an MMC drive (a
    // failed step's fallbacks are other commands).
    struct Read {
        uint32_t lba;
        uint32_t count;
        bool good;
    };
    std::vector<Read> Reads() const
    {
        std::vector<Read> reads;
        for (const emu::LogEntry& e : manager_->log()) {
            if (e.cdb[0] == kReadCd) reads.push_back({getBe32(&e.cdb[2]), getBe24(&e.cdb[6]), e.status == SS_COMP});
        }
        return reads;
    }

    std::unique_ptr<TBenchLinearInfo> values_ = std::make_unique<TBenchLinearInfo>();
    TBenchList list_;
    uint32_t runMs_ = 0;
};
