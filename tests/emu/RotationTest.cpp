// Emulated drives that spin: the time a read takes follows from the step's rotation, the
// block's radius and the disc's scanning velocity, plus spin-up, seeks and retries.
#include <gtest/gtest.h>

#include <cmath>

#include "EmuTestHelpers.h"
#include "emu/CdromDrive.h"
#include "emu/Disc.h"
#include "emu/DriveBuilder.h"
#include "platform/Time.h"
#include "platform/host/Host.h"

using namespace emutest;

namespace {

constexpr uint32_t kFullDisc = 335475;  // 4473 s: the outer edge (58 mm) at 1300 mm/s

struct RotationTest : testing::Test {
    // One drive, steps 0 and 1, a data disc reaching the outer edge.
    void Build(emu::Rotation rotation, double velocity = 1300)
    {
        platform::host::Reset();
        manager.addHostAdapter("EMU");
        drive = emu::MakeCdromDrive("EMULATED", "SPINNING", "1.00");
        emu::SpeedModel model = emu::MmcSteps({{0, 706}, {1400, 5645}});
        model.steps[0].rotation = {emu::RotationKind::Clv, 4, 0};
        model.steps[1].rotation = rotation;
        model.spinUpMs = 1500;
        model.seekMs = 120;
        model.retryMs = 900;
        drive->setSpeedModel(model);
        auto disc = std::make_shared<emu::Disc>();
        disc->addTrack(emu::TrackKind::Mode1, kFullDisc + 1000);
        disc->setVelocity(velocity);
        disc->addReadError(250000, 250099);
        drive->setMedium(disc);
        manager.attach(0, 0, 0, drive);
    }

    // Virtual milliseconds a command takes.
    uint32_t Took(std::vector<uint8_t> cdb, uint32_t length = 0, uint32_t* status = nullptr)
    {
        const uint32_t start = platform::TickCount();
        const DataIn result = SendIn(manager, 0, std::move(cdb), length);
        if (status) *status = result.status;
        return platform::TickCount() - start;
    }

    // Milliseconds per 75 blocks read in a row from lba, the disc already turning.
    double MsPerSecondOfData(uint32_t lba)
    {
        Took(Read10(lba - 16, 16), 16 * 2048);
        uint32_t ms = 0;
        for (int i = 0; i < 24; ++i) ms += Took(Read10(lba + 25 * i, 25), 25 * 2048);
        return ms / 8.0;
    }

    emu::Manager manager;
    std::shared_ptr<emu::CdromDrive> drive;
};

}  // namespace

TEST_F(RotationTest, ReadTimeFollowsTheProfileAcrossTheDisc)
{
    // The factor at the inner edge of a CAV label that keeps 25 : 58 is the label's own.
    const double cavInner = std::sqrt(13.0 * 31.0 * 25 / 58);
    struct Case {
        emu::Rotation rotation;
        double velocity;
        uint32_t lba;
        double factor;
    } cases[] = {
        {{emu::RotationKind::Clv, 8, 0}, 1300, 1000, 8},
        {{emu::RotationKind::Clv, 8, 0}, 1200, 300000, 8},
        {{emu::RotationKind::Cav, 13, 31}, 1300, 16, cavInner},
        {{emu::RotationKind::Cav, 13, 31}, 1300, kFullDisc - 700, cavInner * 58 / 25},
        {{emu::RotationKind::Cav, 12, 29}, 1300, 16, std::sqrt(12.0 * 29 * 25 / 58)},
        // A disc scanned more slowly holds more blocks on a turn.
        {{emu::RotationKind::Cav, 13, 31}, 1200, 16, cavInner * 1300 / 1200},
        {{emu::RotationKind::Pcav, 16, 24}, 1300, 16, 16},
        {{emu::RotationKind::Pcav, 16, 24}, 1300, 200000, 24},
    };
    for (const Case& c : cases) {
        Build(c.rotation, c.velocity);
        SendIn(manager, 0, {0xBB, 0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0);  // the fast step
        EXPECT_NEAR(MsPerSecondOfData(c.lba), 1000 / c.factor, 1000 / c.factor * 0.01 + 0.2)
            << int(c.rotation.kind) << " " << c.rotation.from << " at " << c.lba;
    }
}

TEST_F(RotationTest, StartsStepChangesSeeksAndRetriesTakeTheirTime)
{
    Build({emu::RotationKind::Cav, 14, 32});
    // A stopped drive spins up at its first read; START STOP UNIT waits for it unless immediate.
    EXPECT_EQ(Took(Read10(0, 1), 2048), 1500u);  // and a block at about 14x, 0.96 ms
    EXPECT_EQ(Took({0x1B, 0, 0, 0, 0x01, 0}), 0u);
    EXPECT_EQ(Took({0x1B, 0, 0, 0, 0x00, 0}), 0u);  // stop
    EXPECT_EQ(Took({0x1B, 0, 0, 0, 0x01, 0}), 1500u);
    EXPECT_EQ(Took({0x1B, 0x01, 0, 0, 0x00, 0}), 0u);
    EXPECT_EQ(Took({0x1B, 0x01, 0, 0, 0x01, 0}), 0u);
    EXPECT_EQ(Took(Read10(1, 1), 2048), 1501u);

    // Changing the step lets the disc change its speed; setting the same step does not.
    const std::vector<uint8_t> slowStep = {0xBB, 0, 0x02, 0xC2, 0, 0, 0, 0, 0, 0, 0, 0};
    SendIn(manager, 0, slowStep, 0);
    platform::SleepMs(400);
    // 1500 less the 2 ms of SET CD SPEED and the 400 waited; then 4x, 300 blocks a second.
    EXPECT_EQ(Took(Read10(2, 30), 30 * 2048), 1098u + 100);
    // The same step again changes nothing; its 2 ms pass while the disc reads on.
    SendIn(manager, 0, slowStep, 0);
    EXPECT_EQ(Took(Read10(32, 30), 30 * 2048), 98u);

    // A seek across the whole radius takes all of seekMs, a short one a third of it.
    EXPECT_EQ(Took(Read10(kFullDisc - 30, 30), 30 * 2048), 120u + 100);
    EXPECT_EQ(Took(Read10(kFullDisc - 30, 30), 30 * 2048), 40u + 100);

    uint32_t status = 0;
    EXPECT_EQ(Took(Read10(250050, 16), 16 * 2048, &status), 900u);
    EXPECT_EQ(status, uint32_t(SS_ERR));
}
