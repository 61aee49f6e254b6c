// The identity and drive blocks of the report: quoted inquiry fields, TOC columns, test
// reads, capability probes and how a drive without disc or TOC is reported.
#include <algorithm>

#include "diag/DriveReport.h"
#include "disc/DiscTestSupport.h"
#include "emu/DriveBuilder.h"

namespace {

// The lines from the first that starts with first up to the next line equal to end.
std::vector<std::string> Section(const std::vector<std::string>& lines, const std::string& first, const std::string& end)
{
    auto from = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(first, 0) == 0; });
    return {from, std::find(from, lines.end(), end)};
}

class ReportDriveTest : public DiscTest {
protected:
    std::vector<std::string> Report(TCDROM& drive)
    {
        TStringLineList lines;
        ReportDrive(drive, lines, false);
        return lines.Lines();
    }
};

}  // namespace

TEST_F(ReportDriveTest, InquiryFieldsAreQuotedAsTheDriveSentThem)
{
    struct Row {
        std::string vendorText;
        std::string quoted;
        std::string hex;
    } rows[] = {
        {"", "", ""},
        {"1998/07 B", "1998/07B", "31 39 39 38 2F 30 37 42 "},
    };
    uint8_t target = 0;
    for (const Row& row : rows) {
        auto emulated = emu::MakeCdromDrive("ACME", "CD-ROM X", "1.0", row.vendorText);
        emulated->modePages().setPage(emu::CapabilitiesPage({}));
        manager_->attach(0, target, 0, emulated);
        TTarget device(0, target, 0, 0);
        manager_->clearLog();
        TStringLineList lines;
        ReportTarget(device, lines);
        const std::vector<std::string> identity(lines.Lines().begin(), lines.Lines().begin() + 9);
        EXPECT_EQ(identity, (std::vector<std::string>{
                                " Hersteller:      \"ACME    \"",
                                " Laufwerk:        \"CD-ROM X        \"",
                                " Firmware:        \"1.0 \"",
                                " Firmware2:       \"" + row.quoted + "\"",
                                " Firmware2:       " + row.hex,
                                " HA:ID:LUN:       0:" + std::to_string(target) + ":0",
                                " Hostadapter:     EMU_HA",
                                " HostadapterInfo: HA=00, ID=07, MaxTLen=00020000, MaxTargets=08, Align=00000001, Residual",
                                " Sense Errors:    0/0 - 0/0 - 0/0 - 0/0 - 0/0",
                            }));
        // Every page code in every page control is asked once; after the first 42 pages fail
        // in the 10-byte form only MODE SENSE(6) is sent.
        EXPECT_EQ(Cdbs(0x5A).size(), 42u);
        EXPECT_EQ(Cdbs(0x1A).size(), 256u);
        const auto current = Section(lines.Lines(), " [current]", " [default]");
        ASSERT_EQ(current.size(), 3u);
        EXPECT_EQ(current[1].substr(0, 19), " 2A -> 2A 14 03 00 ");
        EXPECT_EQ(current[2].substr(0, 19), " 3F -> 2A 14 03 00 ");
        EXPECT_EQ(Section(lines.Lines(), " [changeable]", " [saved]").size(), 3u);
        EXPECT_EQ(Section(lines.Lines(), " [saved]", "").size(), 4u);
        EXPECT_EQ(lines.Lines().back(), " Sense Errors:    0/256 - 0/0 - 0/0 - 0/0 - 8/248");
        ++target;
    }
}

TEST_F(ReportDriveTest, TocColumnsAndReadTestsOfLongEnoughTracks)
{
    // A data track too short for 16 sectors from its middle, then eleven audio tracks.
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(emu::TrackKind::Mode1, 20);
    for (int i = 0; i < 11; ++i) disc->addTrack(emu::TrackKind::Audio, 300);
    auto drive = OpenWith(FamilyMmc, disc);
    const auto lines = Report(*drive);
    const auto toc = Section(lines, " TOC:", " ");
    ASSERT_EQ(toc.size(), 13u);
    EXPECT_EQ(toc[1], "  1/Daten : 0 - 19");
    EXPECT_EQ(toc[2], "  2/Audio : 20 - 319");
    EXPECT_EQ(toc[12], " 12/Audio : 3020 - 3319");
    const auto reads = Section(lines, " Lesen:", " ");
    ASSERT_EQ(reads.size(), 12u);
    EXPECT_EQ(reads[1], "  2/Audio -> ReadCDDA(169,16): OK Status=(0/0)");
    EXPECT_EQ(reads[11], " 12/Audio -> ReadCDDA(3169,16): OK Status=(0/0)");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), " Es ist eine CD im Laufwerk (0 - 3319 / 00000CF700000800)"), 1);
    // One READ CAPACITY serves both the address and the bytes.
    EXPECT_EQ(Cdbs(0x25).size(), 1u);
}

TEST_F(ReportDriveTest, DataTrackReadTestsByDiscKind)
{
    struct Row {
        emu::TrackKind kind;
        const char* tocHeader;
        const char* readLine;
    } rows[] = {
        {emu::TrackKind::Mode1, " TOC:", "  1/Daten -> ReadMODE1(499,16): OK / ReadMODE1_RAW(499,16): OK Status=(1234/5)"},
        {emu::TrackKind::Mode2Form1, " TOC (XA):",
         "  1/Daten -> ReadMODE2(499,16): OK / ReadMODE2_RAW(499,16): OK Status=(1234/5)"},
    };
    for (const Row& row : rows) {
        auto drive = OpenWith(FamilyMmc, DataDisc("VOLUME", 1000, row.kind));
        emu::SpeedModel model = emu_->speedModel();
        model.mechanismState = 5;
        model.mechanismLba = 1234;
        emu_->setSpeedModel(model);
        const auto lines = Report(*drive);
        EXPECT_EQ(Section(lines, row.tocHeader, " ").size(), 2u);
        const auto reads = Section(lines, " Lesen:", " ");
        ASSERT_EQ(reads.size(), 2u);
        EXPECT_EQ(reads[1], row.readLine);
    }
    // Model 158 is never asked for its mechanism status; a failed raw read says so.
    auto drive = OpenWith(FamilyMmc, DataDisc("VOLUME", 1000), Failing({0xBE}));
    drive->Model = 158;
    const auto reads = Section(Report(*drive), " Lesen:", " ");
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[1], "  1/Daten -> ReadMODE1(499,16): OK / ReadMODE1_RAW(499,16): Fehler");
    EXPECT_TRUE(Cdbs(0xBD).empty());
}

TEST_F(ReportDriveTest, NoDiscNoTocNoCapacity)
{
    auto empty = OpenWith(FamilyMmc, nullptr);
    auto lines = Report(*empty);
    auto at = std::find(lines.begin(), lines.end(), " TestUnitReady:   false");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + 1), " max. Geschw.:    -1x");

    auto unreadable = OpenWith(FamilyMmc, DataDisc("VOLUME"), Failing({0x43, 0x25}));
    lines = Report(*unreadable);
    at = std::find(lines.begin(), lines.end(), " TestUnitReady:   true");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(std::vector<std::string>(at, at + 6), (std::vector<std::string>{
                                                         " TestUnitReady:   true",
                                                         " ",
                                                         " Es ist eine CD im Laufwerk (0 - -1 / [ERROR])",
                                                         " ",
                                                         " Das Inhaltsverzeichnis konnte nicht gelesen werden!",
                                                         " ",
                                                     }));
}

TEST_F(ReportDriveTest, CapabilitiesAndProbes)
{
    auto emulated = emu::MakeCdromDrive("ACME    ", "PROBED CD-ROM   ", "1.00");
    emu::Capabilities caps;
    caps.audioBits = 0x11;  // C2 pointers and CD-DA commands, not stream accurate
    caps.bufferKB = 128;
    emulated->modePages().setPage(emu::CapabilitiesPage(caps));
    emulated->modePages().setPage(emu::PageWithMask(0x0D, 8, {{3, 0x0D}}, {{3, 0x0F}}));
    emu::SpeedModel model = emu::MmcSteps({{0, 7056}});
    model.features = {{0x0107, {0, 0, 0, 0}}, {0x002E, {0x5A, 1, 2, 3}}};
    model.performanceDescriptors = 1;
    emulated->setSpeedModel(model);
    auto drive = Open(emulated);
    const auto lines = Report(*drive);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 12), (std::vector<std::string>{
                                                                               " Treiber:         MMC/GENERIC",
                                                                               " Inactivity:      8 Min / 8 Min / 15",
                                                                               " Standby Timer:   -1 s / -1 s / -1 s",
                                                                               " Idle Timer:      -1 s / -1 s / -1 s",
                                                                               " Buffer:          128 KB",
                                                                               " C2Pointers:      ja",
                                                                               " CD-DA:           ja",
                                                                               " DAAccu:          nein",
                                                                               " C2Supported:     ja",
                                                                               " RealTimeStream.: ja",
                                                                               " GetPerformance:  ja",
                                                                               " CD Mastering:    00 2E 01 04 5A 01 02 03 ",
                                                                           }));

    // A vendor-family drive without the capabilities page and without the probes.
    auto plain = emu::MakeCdromDrive("TOSHIBA ", "CD-ROM XM-6201TA", "1.00");
    plain->setSpeedModel(emu::CodeSteps({0x20, 2, 0x0F}, {{0, 4 * 176}, {2, 8 * 176}}));
    const auto vendorLines = Report(*Open(plain, 1));
    EXPECT_EQ(std::vector<std::string>(vendorLines.begin() + 4, vendorLines.begin() + 8),
              (std::vector<std::string>{
                  " C2Supported:     nein",
                  " RealTimeStream.: nein",
                  " GetPerformance:  nein",
                  " CD Mastering:    nein",
              }));
}
