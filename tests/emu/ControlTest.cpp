// Acting on a running emulated system: the control commands and their mistakes.
#include <gtest/gtest.h>

#include "emu/Control.h"
#include "emu/DriveBuilder.h"
#include "emu/ModePages.h"

namespace {

struct ControlRig {
    ControlRig()
    {
        manager.addHostAdapter("EMU");
        drive->setSpeedModel(emu::MmcSteps({{0, 1408}, {2816, 2816}, {4224, 4224}, {5632, 5632}}));
        manager.attach(0, 1, 0, drive);
        manager.attach(0, 2, 0, emu::MakeCdromDrive("ACME    ", "NO STEPS        ", "1.00"));
    }
    uint32_t reported() const { return drive->speedModel().currentStep()->reportedKBps; }

    emu::Manager manager;
    std::shared_ptr<emu::CdromDrive> drive = emu::MakeCdromDrive("ACME    ", "CD-ROM 32X      ", "1.00");
};

}  // namespace

TEST(EmuControl, CommandsChangeDiscsSpeedAndPower)
{
    ControlRig rig;
    EXPECT_EQ("", emu::ApplyControl(rig.manager, R"(insert 0 1 {"tracks": [{"type": "audio", "length": 9000}]})"));
    ASSERT_NE(nullptr, rig.drive->medium());
    EXPECT_EQ("", emu::ApplyControl(rig.manager, "speed 0 1 2816"));
    EXPECT_EQ(std::tuple(9000u, 2816u), std::tuple(rig.drive->medium()->blockCount(), rig.reported()));

    // The current page values drift from the saved ones; a power cycle restores them.
    rig.drive->modePages().setPage(emu::PageWithMask(0x0D, 8, {{3, 0x05}}, {{3, 0x0F}}));
    const uint8_t list[] = {0x0D, 6, 0, 0x09, 0, 0, 0, 0};
    ASSERT_EQ(emu::ModePageStore::SelectResult::Ok, rig.drive->modePages().select(list, sizeof list, false));
    EXPECT_EQ("", emu::ApplyControl(rig.manager, "  power 0 1  "));
    EXPECT_EQ(std::tuple(5632u, uint8_t(0x05), true), std::tuple(rig.reported(), rig.drive->modePages().page(emu::PageControl::Current, 0x0D)[3],
                                                           rig.drive->unitAttentionPending()));
    EXPECT_EQ("", emu::ApplyControl(rig.manager, "eject 0 1") + emu::ApplyControl(rig.manager, "# a comment") + emu::ApplyControl(rig.manager, ""));
    EXPECT_EQ(nullptr, rig.drive->medium());
}

TEST(EmuControl, MistakesAreNamedAndChangeNothing)
{
    ControlRig rig;
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"eject 0", "host adapter and target id expected"},
        {"eject 0 5", "no CD-ROM drive there"},
        {"spin 0 1", "unknown command spin"},
        {"speed 0 1 fast", "KB/s 0..65535 expected"},
        {"speed 0 2 2816", "the drive has no speed steps"},
        {"insert 0 1 {\"tracks\": [{\"type\": \"vinyl\"}]}", "disc.tracks[0].type"},
        {"insert 0 1 {", "disc: "},
    };
    for (const auto& [line, problem] : rows) {
        const std::string error = emu::ApplyControl(rig.manager, line);
        EXPECT_NE(std::string::npos, error.find(problem)) << line << " gave: " << error;
        EXPECT_EQ(0u, error.find(line)) << error;
    }
    EXPECT_EQ(std::tuple(nullptr, 5632u), std::tuple(rig.drive->medium(), rig.reported()));
}
