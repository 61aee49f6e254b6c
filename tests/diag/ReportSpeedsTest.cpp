// Step lists, zone section and SET CD SPEED sweeps of a drive block, and what the report
// puts back: the speed, the zone table and the block size the drive had.
#include <algorithm>

#include "diag/DriveReport.h"
#include "diag/ReportSpeeds.h"
#include "disc/DiscTestSupport.h"
#include "emu/DriveBuilder.h"
#include "transport/ScsiCodes.h"

namespace {

// Remembers every line that was ever appended or put in place of another.
class RecordingLines : public TStringLineList {
public:
    void Append(const std::string& line) override
    {
        seen.push_back(line);
        TStringLineList::Append(line);
    }
    void Replace(int i, const std::string& line) override
    {
        seen.push_back(line);
        TStringLineList::Replace(i, line);
    }
    std::vector<std::string> seen;
};

int CountStarting(const std::vector<std::string>& lines, const std::string& prefix)
{
    return int(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

// An MMC drive whose requests select steps from the given lowest requests on.
std::shared_ptr<emu::CdromDrive> MmcDrive(uint16_t maxKBps, const std::vector<std::pair<uint32_t, uint32_t>>& steps)
{
    auto drive = emu::MakeCdromDrive("EMULATED", "STEPPED CD-ROM", "1.00");
    emu::Capabilities caps;
    caps.maxReadKBps = maxKBps;
    drive->modePages().setPage(emu::CapabilitiesPage(caps));
    drive->setSpeedModel(emu::MmcSteps(steps));
    return drive;
}

// Factors 1..10 select 4x, 11..24 select 16x.
std::shared_ptr<emu::CdromDrive> TwoStepDrive() { return MmcDrive(24 * 176, {{0, 704}, {11 * 177 + 87, 2816}}); }

}  // namespace

TEST_F(DiscTest, TwoStepDriveIsListedOncePerDirection)
{
    auto emulated = TwoStepDrive();
    auto drive = Open(emulated);
    TStringLineList lines;
    ReportStepLists(*drive, lines);
    ASSERT_EQ(lines.Count(), 4);
    const char* expected[] = {
        " Stufe 1:         16, \"\", 2816, 16, 2A 14 ",
        " Stufe 2:         4, \"\", 704, 4, 2A 14 ",
        " Stufe 1:         4, \"\", 704, 4, 2A 14 ",
        " Stufe 2:         16, \"\", 2816, 16, 2A 14 ",
    };
    for (int i = 0; i < 4; ++i) EXPECT_EQ(lines.Line(i).substr(0, std::string(expected[i]).size()), expected[i]);
    // Factors that map to a step already seen are skipped: downward 28, 15..10, 3..1; upward
    // 1, 5..11, 17..28; each list ends by setting 16x again.
    const auto speeds = Cdbs(kSetCdSpeed);
    EXPECT_EQ(speeds.size(), 10u + 1u + 20u + 1u);
    EXPECT_EQ(speeds.back()[2] << 8 | speeds.back()[3], 16 * 177 + 87);
    EXPECT_EQ(EmulatedSpeed(*emulated), 2816u);
}

TEST_F(DiscTest, ZonesAndSweepsOnlyForMmcDrives)
{
    struct Row {
        const char* what;
        bool plextor;
        bool sweeps;
        int zoneLines;
        std::vector<std::string> sweepLines;
    } rows[] = {
        {"MMC without sweeps", false, false, 4, {}},
        {"MMC with sweeps", false, true, 4,
         {" BBTest I:        2816-2033-704-0B00-07F1-02C0", " BBTest II:       704-2034-2816-02C0-07F2-0B00"}},
        {"Plextor with sweeps", true, true, 0, {}},
    };
    uint8_t target = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::shared_ptr<emu::CdromDrive> emulated = TwoStepDrive();
        if (row.plextor) {
            emulated = emu::MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS", "1.01");
            emulated->modePages().setPage(emu::PageWithMask(0x31, 8, {{2, 5}, {3, 4}}, {{2, 0xFF}, {3, 0x05}}));
            emu::SpeedModel model = emu::CodeSteps({0x31, 2, 0xFF}, {{0, 176}, {1, 352}, {2, 704}, {4, 1408}, {5, 3520}});
            model.current = 4;
            emulated->setSpeedModel(model);
        }
        auto drive = Open(emulated, target++);
        RecordingLines lines;
        ReportDrive(*drive, lines, row.sweeps);
        const auto& all = lines.Lines();
        EXPECT_EQ(CountStarting(all, " Zonen"), row.zoneLines);
        // The Plextor's six codes (42x has no step of its own here but reads back as code 6)
        // in each direction; the MMC drive's two steps in each direction of four tables.
        EXPECT_EQ(CountStarting(all, " Stufe "), row.plextor ? 2 * 6 : 4 * 2 * 2);
        std::vector<std::string> sweepLines;
        std::copy_if(all.begin(), all.end(), std::back_inserter(sweepLines),
                     [](const std::string& l) { return l.rfind(" BBTest", 0) == 0; });
        EXPECT_EQ(sweepLines, row.sweepLines);
        // The detection notices and the progress lines were shown and are gone.
        EXPECT_EQ(CountStarting(all, ">>>"), 0);
        EXPECT_EQ(CountStarting(lines.seen, ">>>"), row.plextor ? 0 : 2);
        EXPECT_EQ(std::count(lines.seen.begin(), lines.seen.end(), " BBTest I ->      50% fertig"),
                  row.sweeps && !row.plextor ? 1 : 0);
        EXPECT_EQ(std::count(lines.seen.begin(), lines.seen.end(), " BBTest II ->     100% fertig"),
                  row.sweeps && !row.plextor ? 1 : 0);
        if (row.plextor) {
            EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());
        }
        manager_->clearLog();
    }
}

TEST_F(DiscTest, SweepsWithoutTransitionOrRange)
{
    struct Row {
        uint16_t maxKBps;
        std::vector<std::string> sweepLines;
    } rows[] = {
        {7056, {" BBTest I:        no transition", " BBTest II:       no transition"}},
        // A maximum of 0 KB/s leaves nothing to sweep.
        {0, {}},
    };
    uint8_t target = 0;
    for (const Row& row : rows) {
        auto drive = Open(MmcDrive(row.maxKBps, {{0, 7056}}), target++);
        TStringLineList lines;
        ReportDrive(*drive, lines, true);
        std::vector<std::string> sweepLines;
        std::copy_if(lines.Lines().begin(), lines.Lines().end(), std::back_inserter(sweepLines),
                     [](const std::string& l) { return l.rfind(" BBTest", 0) == 0; });
        EXPECT_EQ(sweepLines, row.sweepLines) << row.maxKBps;
    }
}

TEST_F(DiscTest, ReportPutsBackSpeedAndZoneTable)
{
    const std::vector<std::pair<uint32_t, uint32_t>> steps = {{0, 1408}, {2000, 2816}, {4000, 7056}};
    struct Row {
        bool table;
        int factor;
        uint32_t reported;
    } rows[] = {{true, 16, 2816}, {false, 8, 1408}};
    uint8_t target = 0;
    for (const Row& row : rows) {
        auto emulated = MmcDrive(7056, steps);
        auto drive = Open(emulated, target++);
        if (row.table) {
            ASSERT_TRUE(drive->DetectSpeedSteps(false, true));
        }
        ASSERT_TRUE(drive->SetCDSpeed(row.factor));
        const std::string table = drive->SpeedTableText();
        manager_->clearLog();

        TStringLineList lines;
        ReportDrive(*drive, lines, true);

        EXPECT_EQ(EmulatedSpeed(*emulated), row.reported);
        EXPECT_EQ(drive->SpeedTableText(), table);
        EXPECT_EQ(drive->SpeedTableValid, row.table);
        EXPECT_EQ(lines.Lines().back(), " aktuelle G. :    " + std::to_string(row.reported / 176) + "x");
        // The last speed command of the log selects the step the drive had.
        const auto speeds = Cdbs(kSetCdSpeed);
        ASSERT_FALSE(speeds.empty());
        const uint32_t request = uint32_t(speeds.back()[2] << 8 | speeds.back()[3]);
        EXPECT_EQ(emulated->speedModel().steps[emulated->speedModel().stepForRequest(request)].reportedKBps, row.reported);
    }
}

TEST_F(DiscTest, ReportPutsBackTheDataBlockSize)
{
    auto drive = OpenWith(FamilyToshiba, DataDisc("VOLUME", 1000));
    TStringLineList lines;
    ReportDrive(*drive, lines, false);
    const auto selects = ModeSelects();
    auto blockLength = [](const std::vector<uint8_t>& list) { return list[9] << 16 | list[10] << 8 | list[11]; };
    // The raw read test switched to 2352 bytes; the last block-size change is back to 2048.
    EXPECT_TRUE(std::any_of(selects.begin(), selects.end(), [&](const auto& list) { return blockLength(list) == 2352; }));
    ASSERT_FALSE(selects.empty());
    EXPECT_EQ(blockLength(selects.back()), 2048);
    EXPECT_EQ(emu_->disc().blockLength(), 2048u);
    EXPECT_EQ(drive->BlockMode, kBlockUnknown);
}
