// Whole measurement runs on emulated drives that spin: the class and the numbers of each rotation,
// read errors, the sample limit, aborts, discs of two groups, and TOCs that lie.
#include "emu/Scenario.h"
#include "measure/MeasureTestSupport.h"
#include "platform/host/HostLocale.h"

// Custom drives (target 0) start at their fastest step, so the run sets and keeps the one asked
// for; the built-in system's drives are prepared as the window prepares a step. The split must
// lie at the sample where the drive stops turning at constant speed.
TEST_F(MeasureTest, EachRotationIsMeasuredAsItsClassWithItsNumbers)
{
    platform::host::SetDecimalSeparator(',');
    const auto system = emu::DefaultScenario();
    manager_->attach(0, 1, 0, system->device(0, 1, 0));  // TEAC CD-532E, data disc
    manager_->attach(0, 4, 0, system->device(1, 4, 0));  // PLEXTOR PX-40TS, audio CD
    struct Case {
        uint8_t target;
        emu::Rotation rotation;
        int factor;
        const char* text;
        int32_t change;  // LBA where constant rotation ends: 16 is the first sample
    } cases[] = {
        {0, Clv(8), 8, "8,0x/CLV", 16},
        // A label of 13x-31x turns at the speed between the two: 13.18x inside, 30.58x outside.
        {0, Cav(13, 31), 31, "13,2x-30,6x/CAV", 333000},
        {1, {}, 4, "4,0x/CLV", 16},
        {1, {}, 16, "11,0x-16,0x/PCAV", 85400},
        {1, {}, 32, "13,9x-32,2x/CAV", 333000},
        {4, {}, 42, "16,0x-24,0x/PCAV", 95690},  // its audio extraction, 24x reached at 37.5 mm
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::unique_ptr<TCDROM> drive;
        if (c.target == 0) {
            drive = OpenSpinning({{c.factor, c.rotation}, {52, Cav(22, 52)}}, LongDataDisc());
        } else {
            drive = std::make_unique<TCDROM>(0, c.target, 0);
            drive->DetectSpeedSteps(true, true);
            ASSERT_TRUE(drive->SetCDSpeed(c.factor));
            platform::SleepMs(2000);
        }
        WindowSettings(*drive, c.factor);
        const TBenchLinearInfo& v = Run();
        EXPECT_TRUE(v.Finished && !v.Running && !v.Failed);
        EXPECT_EQ(std::tuple(v.ResultText, v.Progress, drive->CurrentSpeedStep()), std::tuple(std::string(c.text), 100, c.factor));
        ASSERT_GE(v.Count, 20);
        EXPECT_LE(v.Samples[v.Breakpoint].StartLBA, c.change);
        if (v.Breakpoint + 1 < v.Count) {
            const TBenchSample& next = v.Samples[v.Breakpoint + 1];
            EXPECT_GT(next.StartLBA + next.Blocks, c.change);
        }
        // The last sample ends with the range.
        EXPECT_EQ(v.Samples[v.Count - 1].StartLBA + v.Samples[v.Count - 1].Blocks, v.RangeEnd + 1);
    }
}

// Every block is read, so every bad block is met once. One 100 blocks after the start moves the
// run on by 225 blocks without counting; ten more are tolerated, the eleventh ends the run.
TEST_F(MeasureTest, ReadErrorsAreSteppedOverAndTheEleventhCountedOneEndsTheRun)
{
    for (const bool nearStart : {true, false}) {
        auto disc = LongDataDisc(24000);
        for (uint32_t i = 1; i <= 10; ++i) disc->addReadError(i * 2000, i * 2000);
        disc->addReadError(nearStart ? 100 : 22000, nearStart ? 100 : 22000);
        auto drive = OpenSpinning({{8, Clv(8)}}, disc);
        WindowSettings(*drive, 8);
        values_->Density = 1000;
        const TBenchLinearInfo& v = Run();

        std::vector<Read> failed;
        const std::vector<Read> reads = Reads();
        for (size_t i = 0; i + 1 < reads.size(); ++i) {
            if (reads[i].good) continue;
            failed.push_back(reads[i]);
            const uint32_t counted = uint32_t(failed.size()) - (nearStart ? 1 : 0);
            const uint32_t skip = reads[i].lba < 225 ? 225 : 150 * counted;
            EXPECT_EQ(reads[i + 1].lba, reads[i].lba + reads[i].count + skip) << "after " << reads[i].lba;
        }
        if (nearStart) {
            EXPECT_EQ(std::tuple(failed.front().lba, v.ResultText), std::tuple(96u, std::string("8.0x/CLV")));
        } else {
            ASSERT_EQ(failed.size(), 10u);  // the eleventh is the last read
            EXPECT_FALSE(reads.back().good);
            EXPECT_EQ(v.ErrorText, "zu viele Lesefehler im Bereich LBN[" + std::to_string(failed.front().lba) + "," +
                                       std::to_string(reads.back().lba + reads.back().count) + "]");
            EXPECT_EQ(v.ResultText, "");  // a failed run is not analysed but keeps its samples
            EXPECT_GT(v.Count, 0);
        }
        EXPECT_EQ(v.Failed, !nearStart);
    }
}

// Samples of one block, each after one positioning block: 20000 blocks would give 10000.
TEST_F(MeasureTest, TheSampleLimitEndsTheRun)
{
    auto drive = OpenSpinning({{8, Clv(8)}}, LongDataDisc(20000));
    WindowSettings(*drive, 8);
    values_->Density = 1000;
    values_->SampleTime = 1;
    values_->BlocksPerRead = 1;
    const TBenchLinearInfo& v = Run();
    EXPECT_EQ(std::tuple(v.Failed, v.ErrorText, v.Count, v.Breakpoint), std::tuple(true, std::string("zu viele Meßwerte"), 8000, -1));
}

TEST_F(MeasureTest, AnAbortDuringTheSpinUpEndsItAndLeavesTheSamplingEmpty)
{
    auto drive = OpenSpinning({{8, Clv(8)}}, LongDataDisc(), FamilyMmc, [this](const std::vector<uint8_t>& cdb) {
        if (cdb[0] == kStartStopUnit) {
            TBenchListLock lock(list_);
            lock.Items()[0]->AbortRequest = true;
        }
        return false;
    });
    WindowSettings(*drive, 8);
    const TBenchLinearInfo& v = Run();
    EXPECT_TRUE(v.Finished && !v.Failed && !v.SpinningUp);
    EXPECT_EQ(std::tuple(v.Progress, v.Count), std::tuple(100, 0));
    // One spin-up slice from block 225 on, no sample.
    const std::vector<Read> reads = Reads();
    ASSERT_FALSE(reads.empty());
    for (const Read& r : reads) EXPECT_GE(r.lba, 225u);
}

// Audio tracks, then a data track in a second session: two groups, each with its own spin-up,
// whose samples all go into one list and one analysis.
TEST_F(MeasureTest, ACdExtraDiscIsMeasuredAsTwoGroupsIntoOneSampleList)
{
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(emu::TrackKind::Audio, 60000);
    disc->addTrack(emu::TrackKind::Audio, 60000);
    disc->addTrack(emu::TrackKind::Mode1, 80000, 120000 + 11400).session = 2;
    disc->addReadError(120000, 131399);  // lead-out, lead-in and pregap between the sessions
    auto drive = OpenSpinning({{8, Clv(8)}}, disc);
    WindowSettings(*drive, 8);
    const TBenchLinearInfo& v = Run();
    EXPECT_EQ(std::tuple(v.DiscTypeText, v.RangeEnd, Cdbs(kStartStopUnit).size()), std::tuple(std::string("CD-Extra"), 211399, 2u));
    int audio = 0;
    for (int i = 0; i < v.Count; ++i) {
        const TBenchSample& s = v.Samples[size_t(i)];
        const bool inAudio = s.StartLBA + s.Blocks <= 120000;
        EXPECT_TRUE(inAudio ? s.Mode == kReadAudio : s.Mode == kReadData && s.StartLBA >= 131400) << i;
        audio += inAudio;
    }
    EXPECT_GT(std::min(audio, v.Count - audio), 5);
    EXPECT_EQ(v.ResultText, "8.0x/CLV");
}

namespace {

struct TocTrack {
    uint8_t number;  // 0xAA: the lead-out
    uint32_t start;
};

// A READ TOC answer (format 0, LBA) of data tracks, as a drive might send it.
std::vector<uint8_t> TocAnswer(uint8_t first, uint8_t last, const std::vector<TocTrack>& tracks)
{
    std::vector<uint8_t> toc(4 + 8 * tracks.size(), 0);
    putBe16(&toc[0], uint16_t(toc.size() - 2));
    toc[2] = first;
    toc[3] = last;
    for (size_t i = 0; i < tracks.size(); ++i) {
        toc[4 + 8 * i + 1] = 0x14;
        toc[4 + 8 * i + 2] = tracks[i].number;
        putBe32(&toc[4 + 8 * i + 4], tracks[i].start);
    }
    return toc;
}

}  // namespace

// Track bounds come from the drive. Whatever they say, the run ends in time, asks about no track
// outside 1..99, and neither spins up over nothing nor divides by an empty range.
TEST_F(MeasureTest, ATocThatLiesAboutItsTracksEndsTheRunSoundly)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> toc;  // empty: no disc
        bool samples;
        const char* error;
    } cases[] = {
        {"no disc", {}, false, "TOC kann nicht gelesen werden"},
        {"starts after its end", TocAnswer(1, 1, {{1, 5000}, {0xAA, 1000}}), false, ""},
        {"zero-length tracks", TocAnswer(1, 3, {{1, 0}, {2, 0}, {3, 0}, {0xAA, 0}}), false, ""},
        {"a track without a descriptor", TocAnswer(1, 2, {{1, 0}, {0xAA, 20000}}), true, ""},
        {"track numbers 0 to 120", TocAnswer(0, 120, {{1, 0}, {0xAA, 20000}}), true, ""},
        {"a lead-out before block 0", TocAnswer(1, 1, {{1, 0}, {0xAA, 0xFFFFFFF0}}), false, ""},
        {"a single block", TocAnswer(1, 1, {{1, 0}, {0xAA, 1}}), false, ""},
        {"a lead-out far beyond the disc", TocAnswer(1, 1, {{1, 0}, {0xAA, 2000000}}), true, "zu viele Lesefehler"},
        {"blocks beyond 2^31", TocAnswer(1, 1, {{1, 0x7FF00000}, {0xAA, 0x7FFFFFFF}}), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<emu::Disc> disc;
        if (!c.toc.empty()) {
            disc = LongDataDisc(20000);
            disc->setTocAnswer(c.toc);
        }
        auto drive = OpenSpinning({{8, Clv(8)}}, disc);
        WindowSettings(*drive, 8);
        const TBenchLinearInfo& v = Run();
        EXPECT_EQ(std::tuple(v.Finished, v.Progress, v.ErrorText.substr(0, std::string(c.error).size()), v.Count > 0),
                  std::tuple(true, 100, std::string(c.error), c.samples));
        if (!c.samples) {
            EXPECT_LT(runMs_, 3000u);
        }
        if (c.toc.empty()) {
            EXPECT_TRUE(Reads().empty());
        }
    }
}

// A vendor family switched to raw blocks for the run is set back to data blocks at its end; an
// MMC drive gets no MODE SELECT. Both forget the block mode.
TEST_F(MeasureTest, TheDataBlockModeIsRestoredAfterTheRun)
{
    for (uint8_t family : {FamilyPlextor, FamilyMmc}) {
        auto drive = OpenSpinning({{8, Clv(8)}}, LongDataDisc(20000), family);
        WindowSettings(*drive, 0);
        values_->RawDataRead = true;
        EXPECT_GT(Run().Count, 0);
        const std::vector<std::vector<uint8_t>> rawThenData{{0, 0, 0, 8, 0, 0, 0, 0, 0, 0x00, 0x09, 0x30},
                                                            {0, 0, 0, 8, 0, 0, 0, 0, 0, 0x00, 0x08, 0x00}};
        EXPECT_EQ(std::tuple(ModeSelects(), drive->BlockMode),
                  std::tuple(family == FamilyMmc ? std::vector<std::vector<uint8_t>>{} : rawThenData, kBlockUnknown));
    }
}

// Settings that would divide by zero, read past the buffer or never advance are programming
// errors: the thread ends before any command, leaving the record unfinished.
TEST_F(MeasureTest, SettingsTheRunCannotUseEndItAsAProgrammingError)
{
    auto drive = OpenSpinning({{8, Clv(8)}}, LongDataDisc(20000));
    const std::pair<int32_t TBenchLinearInfo::*, int32_t> bad[] = {
        {&TBenchLinearInfo::SampleTime, -1}, {&TBenchLinearInfo::Density, 0},
        {&TBenchLinearInfo::BlocksPerRead, 0}, {&TBenchLinearInfo::BlocksPerRead, 28}};
    const char* errors[] = {"Range check error (BenchReadLinear", "Execute: Density < 1 (BenchReadLinear",
                            "Execute: BlocksPerRead not in [1..27]", "Execute: BlocksPerRead not in [1..27]"};
    for (size_t i = 0; i < std::size(bad); ++i) {
        WindowSettings(*drive, 8);
        (*values_).*bad[i].first = bad[i].second;
        EXPECT_FALSE(Run(errors[i]).Finished);
        EXPECT_TRUE(Cdbs().empty());
    }
}
