// The report's edge cases that the whole report of the default system does not show: short
// tracks, step lists of a two-step drive, the sweeps and the speed sections by family, what the
// report puts back, the other kinds of Windows in the system block, missed drives.
#include <algorithm>

#include "diag/DriveReport.h"
#include "diag/ReportSpeeds.h"
#include "disc/DiscTestSupport.h"
#include "emu/DriveBuilder.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostSystemInfo.h"
#include "settings/Store.h"
#include "transport/ScsiCodes.h"

namespace {

// Remembers every line ever appended or put in place of another.
class RecordingLines : public TStringLineList {
public:
    void Append(const std::string& line) override { seen.push_back(line), TStringLineList::Append(line); }
    void Replace(int i, const std::string& line) override { seen.push_back(line), TStringLineList::Replace(i, line); }
    std::vector<std::string> seen;
};

std::vector<std::string> Starting(const std::vector<std::string>& lines, const std::string& prefix)
{
    std::vector<std::string> found;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(found), [&](const auto& l) { return l.rfind(prefix, 0) == 0; });
    return found;
}

// An MMC drive whose steps start at the given requests; factors 1..10 select 4x, 11..24 16x by default.
std::shared_ptr<emu::CdromDrive> MmcDrive(uint16_t maxKBps = 24 * 176,
                                          std::vector<std::pair<uint32_t, uint32_t>> steps = {{0, 704}, {2034, 2816}})
{
    auto drive = emu::MakeCdromDrive("ACME", "CD-ROM STEPS", "1.0");
    emu::Capabilities caps;
    caps.maxReadKBps = maxKBps;
    drive->modePages().setPage(emu::CapabilitiesPage(caps));
    drive->setSpeedModel(emu::MmcSteps(steps));
    return drive;
}

using ReportTest = DiscTest;

}  // namespace

TEST_F(ReportTest, TrackTooShortForTheReadTest)
{
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(emu::TrackKind::Mode1, 20);  // 16 sectors from its middle would run past its end
    disc->addTrack(emu::TrackKind::Audio, 300);
    auto drive = OpenWith(FamilyMmc, disc);
    TStringLineList lines;
    ReportDrive(*drive, lines, false);
    const auto at = std::find(lines.Lines().begin(), lines.Lines().end(), " Lesen:");
    ASSERT_LT(at + 2, lines.Lines().end());
    EXPECT_EQ(std::vector<std::string>(at + 1, at + 3), (std::vector<std::string>{"  2/Audio -> ReadCDDA(169,16): OK Status=(0/0)", " "}));
}

TEST_F(ReportTest, TwoStepDriveIsListedOncePerDirection)
{
    auto emulated = MmcDrive();
    auto drive = Open(emulated);
    TStringLineList lines;
    ReportStepLists(*drive, lines);
    std::vector<std::string> heads;
    for (const auto& line : lines.Lines()) heads.push_back(line.substr(0, line.find(", 2A 14 ")));
    EXPECT_EQ(heads, (std::vector<std::string>{" Stufe 1:         16, \"\", 2816, 16", " Stufe 2:         4, \"\", 704, 4",
                                               " Stufe 1:         4, \"\", 704, 4", " Stufe 2:         16, \"\", 2816, 16"}));
    // Factors mapping to a step already seen are skipped: down 28, 15..10, 3..1; up 1, 5..11,
    // 17..28; each list ends at 16x again.
    EXPECT_EQ(Cdbs(kSetCdSpeed).size(), 11u + 21u);
    EXPECT_EQ(EmulatedSpeed(*emulated), 2816u);
}

TEST_F(ReportTest, ZonesAndSweepsOnlyForMmcDrives)
{
    auto plextor = emu::MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS", "1.01");
    plextor->modePages().setPage(emu::PageWithMask(0x31, 8, {{2, 5}, {3, 4}}, {{2, 0xFF}, {3, 0x05}}));
    plextor->setSpeedModel(emu::CodeSteps({0x31, 2, 0xFF}, {{0, 176}, {1, 352}, {2, 704}, {4, 1408}, {5, 3520}, {6, 7392}}));
    const struct {
        std::shared_ptr<emu::CdromDrive> drive;
        bool sweeps;
        size_t zones;
        std::vector<std::string> sweepLines;
    } rows[] = {
        {MmcDrive(), false, 4, {}},
        {MmcDrive(), true, 4, {" BBTest I:        2816-2033-704-0B00-07F1-02C0", " BBTest II:       704-2034-2816-02C0-07F2-0B00"}},
        {MmcDrive(7056, {{0, 7056}}), true, 4, {" BBTest I:        no transition", " BBTest II:       no transition"}},
        {MmcDrive(0), true, 4, {}},  // a maximum of 0 KB/s leaves nothing to sweep
        {plextor, true, 0, {}},
    };
    uint8_t target = 0;
    for (const auto& row : rows) {
        auto drive = Open(row.drive, target++);
        RecordingLines lines;
        ReportDrive(*drive, lines, row.sweeps);
        EXPECT_EQ(Starting(lines.Lines(), " Zonen").size(), row.zones);
        EXPECT_EQ(Starting(lines.Lines(), " BBTest"), row.sweepLines) << int(target);
        // Notices and progress lines were shown while their step ran, and are gone.
        EXPECT_EQ(Starting(lines.seen, ">>>").size() + Starting(lines.Lines(), ">>>").size(), row.zones / 2);
        const bool swept = !row.sweepLines.empty();
        EXPECT_EQ(std::count(lines.seen.begin(), lines.seen.end(), " BBTest II ->     50% fertig"), swept ? 1 : 0);
        EXPECT_TRUE(Starting(lines.Lines(), " BBTest I ->").empty() && Starting(lines.Lines(), " BBTest II ->").empty());
    }
    EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());  // the Plextor's log, cleared when it was opened
}

TEST_F(ReportTest, PutsBackSpeedZoneTableAndBlockSize)
{
    const struct {
        bool table;
        int factor;
        uint32_t reported;
    } rows[] = {{true, 16, 2816}, {false, 8, 1408}};
    uint8_t target = 0;
    for (const auto& row : rows) {
        auto emulated = MmcDrive(7056, {{0, 1408}, {2000, 2816}, {4000, 7056}});
        auto drive = Open(emulated, target++);
        if (row.table) { ASSERT_TRUE(drive->DetectSpeedSteps(false, true)); }
        ASSERT_TRUE(drive->SetCDSpeed(row.factor));
        const std::string table = drive->SpeedTableText();
        TStringLineList lines;
        ReportDrive(*drive, lines, true);
        EXPECT_EQ(std::tuple(EmulatedSpeed(*emulated), drive->SpeedTableText(), bool(drive->SpeedTableValid), lines.Lines().back()),
                  std::tuple(row.reported, table, row.table, " aktuelle G. :    " + std::to_string(row.reported / 176) + "x"));
    }
    // A drive whose block size the raw read test switched gets 2048 bytes back.
    auto drive = OpenWith(FamilyToshiba, DataDisc("VOLUME", 1000));
    TStringLineList lines;
    ReportDrive(*drive, lines, false);
    auto blockLength = [](const std::vector<uint8_t>& list) { return list[9] << 16 | list[10] << 8 | list[11]; };
    const auto selects = ModeSelects();
    EXPECT_TRUE(std::any_of(selects.begin(), selects.end(), [&](const auto& list) { return blockLength(list) == 2352; }));
    EXPECT_EQ(std::tuple(blockLength(selects.back()), emu_->disc().blockLength()), std::tuple(2048, 2048u));
}

TEST_F(ReportTest, SystemBlockByKindOfWindowsAndMissedDrives)
{
    const char* nt = "SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters";
    const char* win9x = "System\\CurrentControlSet\\Services\\VxD\\APIX";
    const struct {
        platform::OsVersionRecord os;
        const char* key;
        const char* value;
        std::vector<std::string> lines;
    } rows[] = {
        {{5, 0, 2072, ""}, nt, "", {" ASPI-Parameter:  ja", " verborgene HA:   "}},
        {{5, 0, 2128, ""}, nt, "ATAPI", {}},
        {{4, 10, 2222, " A"}, win9x, "", {" ASPI-Parameter:  ja", " verborgene HA:   nein"}},
        {{4, 0, 950, ""}, nt, "ATAPI", {" ASPI-Parameter:  nein"}},
    };
    for (const auto& row : rows) {
        platform::host::Reset();
        platform::host::SetOsVersion(row.os);
        platform::CreateKey(platform::RegRoot::LocalMachine, row.key).writeString("ExcludeMiniports", row.value);
        TStringLineList lines;
        ReportHeader(lines);
        EXPECT_EQ(std::vector<std::string>(lines.Lines().begin() + 5, lines.Lines().end()), row.lines) << lines.Line(3);
    }

    // A configured drive at LUN 1, which the scan of LUN 0 does not find.
    manager_->attach(0, 0, 1, emu::MakeCdromDrive("EMULATED", "CD-ROM LUN 1", "1.00"));
    Drives[0].CDROM = std::make_unique<TCDROM>(0, 0, 1);
    numDrives = 1;
    TStringLineList lines;
    BuildDebugReport(lines, false);
    FreeDriveList();
    const auto& all = lines.Lines();
    const auto at = std::find(all.begin(), all.end(), " numCDROMs <> numDrives");
    ASSERT_LT(at + 3, all.end());
    EXPECT_EQ(std::vector<std::string>(at + 1, at + 4), (std::vector<std::string>{" Drive[0]", " ", " Treiber:         CDDA12/GENERIC"}));
}
