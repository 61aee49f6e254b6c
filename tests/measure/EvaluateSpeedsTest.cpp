// The measurement window on emulated CLV drives: the disc checks, the steps measured and
// stored, skip and abort, and the parameter text.
#include <regex>

#include "measure/EvaluateSpeeds.h"
#include "measure/MeasureTestSupport.h"
#include "platform/host/HostLocale.h"
#include "settings/Language.h"
#include "settings/StoreTestSupport.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kFast = " EMULATED FAST :  ";
const std::string kOther = " EMULATED OTHER :  ";

class EvalTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        AssignLanguageTexts(1);
    }
    void TearDown() override
    {
        SetModalScript(nullptr);
        StoreTest::TearDown();
    }

    // At target: a drive of CLV steps (slowest first, starting at the fastest) whose detected
    // steps are `stored`; with `fails` some commands fail.
    void AddDrive(uint8_t target, const std::string& product, const std::vector<int>& factors,
                  const std::vector<int>& stored, std::shared_ptr<emu::Disc> disc,
                  FailingCommands::Filter fails = nullptr)
    {
        std::vector<std::pair<int, emu::Rotation>> steps;
        for (const int f : factors) steps.push_back({f, Clv(f)});
        auto drive = SpinningDrive(product, steps);
        if (disc) drive->setMedium(std::move(disc));
        std::shared_ptr<emu::Device> device = drive;
        if (fails) device = std::make_shared<FailingCommands>(drive, fails);
        manager_->attach(0, target, 0, device);
        platform::RegKey key = platform::CreateKey(RegRoot::LocalMachine, regnames::DriveKey(0, target));
        for (size_t i = 0; i < stored.size(); ++i) key.writeInteger(regnames::SpeedValue(int(i + 1)), stored[i]);
    }

    // Runs the window: the script acts while it is open, then the loop runs until the window
    // is done (timer off) or has closed itself.
    std::unique_ptr<TFormEval> Run(const std::function<void(TFormEval&)>& script = nullptr)
    {
        StartProgram();
        auto form = std::make_unique<TFormEval>();
        SetModalScript([&](TForm&) {
            if (script) script(*form);
            EXPECT_TRUE(platform::host::RunUntil([&] { return !form->TimerStartEval.Enabled() || !form->Visible(); }));
            closedItself_ = !form->Visible();
        });
        form->ShowModal();
        return form;
    }

    bool closedItself_ = false;
};

}  // namespace

// Each check ends the drive with its line; a drive without stored steps gets only its blank
// line. Only the end of the step list sets the drive back to its speed before the run. A disc
// shorter than advised gets the advice once and is measured; the results are stored per step
// and disc kind with their parameters.
TEST_F(EvalTest, DiscChecksStepsAndStoredResults)
{
    auto mixed = LongDataDisc();
    mixed->addTrack(emu::TrackKind::Audio, 20000);
    const auto line = [](const std::string& text) { return Lines{kFast + text, " ", " Done."}; };
    const struct Case {
        const char* what;
        std::shared_ptr<emu::Disc> disc;
        std::vector<int> stored;
        std::set<uint8_t> failing;
        Lines lines;
        std::vector<int> speedsSet;
        const char* value;  // the stored result of step 1 and the pattern of its parameters
        const char* info;
    } cases[] = {
        {"no steps", LongDataDisc(), {}, {}, {" ", " Done."}, {32}, "Speed_1_data", ""},
        {"no disc", nullptr, {32}, {}, line("contains no disc"), {}, "Speed_1_data", ""},
        {"TOC unreadable", LongDataDisc(), {32}, {kReadToc}, line("Couldn't read TOC"), {}, "Speed_1_data", ""},
        {"mixed mode", mixed, {32}, {}, line("an audio or data CD is needed for measuring speeds."), {}, "Speed_1_data", ""},
        {"last block 134999", LongDataDisc(135000), {32}, {}, line("the test CD should have at least 135000 sectors"),
         {}, "Speed_1_data", ""},
        {"last block 135000", LongDataDisc(135001), {32, 4}, {},
         {kFast + "the test CD should have as many sectors as possible", kFast + "measuring speed 32x",
          kFast + " -> 32.0x/CLV", kFast + "measuring speed 4x", kFast + " -> 4.0x/CLV", " ", " Done."},
         {32, 32, 4, 4, 32}, "Speed_1_data", R"(32\.0x/CLV s32/q98/z600/n16/i\d+/c\d+/L0\.\d{5}/A0\.\d{5}/135000)"},
        {"audio CD", AudioDisc(1, 300000), {4}, {},
         {kFast + "measuring speed 4x", kFast + " -> 4.0x/CLV", " ", " Done."}, {4, 4, 32}, "Speed_1_audio",
         R"(4\.0x/CLV s4/q14/.*/299999)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FreeDriveList();
        platform::host::ClearRegistry();
        AddDrive(0, "CD-ROM FAST", {4, 32}, c.stored, c.disc, c.failing.empty() ? nullptr : Failing(c.failing));
        const auto form = Run();
        EXPECT_EQ(std::tuple(form->Memo.Lines, SpeedsSet(0)), std::tuple(c.lines, c.speedsSet));
        const platform::RegKey key = platform::OpenKey(RegRoot::LocalMachine, regnames::DriveKey(0, 0));
        const std::string stored = key.readString(c.value).value_or("") + " " +
                                   key.readString(std::string(c.value) + "_inf").value_or("");
        EXPECT_TRUE(std::regex_match(stored, std::regex(*c.info ? c.info : " "))) << stored;
    }
}

// Skip step, skip drive and abort during the first step of the first of two drives; none
// stores the step cut short. A drive whose speed cannot be read is not set back to it.
TEST_F(EvalTest, SkipAndAbortEndTheRunningStep)
{
    const auto capabilitiesPage = [](const std::vector<uint8_t>& cdb) {
        return (cdb[0] == 0x1A || cdb[0] == 0x5A) && (cdb[2] & 0x3F) == 0x2A;
    };
    const Lines cancelled = {kFast + "measuring speed 32x", kFast + "test was cancelled"};
    const Lines other = {kOther + "measuring speed 8x", kOther + " -> 8.0x/CLV", " ", " Done."};
    const auto then = [](Lines a, const Lines& b) { return a.insert(a.end(), b.begin(), b.end()), a; };
    const struct Case {
        const char* what;
        std::function<void(TFormEval&)> press;
        Lines lines;
        std::vector<int> speedsSet;  // first drive
        bool closed;
        FailingCommands::Filter fails;
    } cases[] = {
        {"skip step, then skip drive: the second press is ignored",
         [](TFormEval& f) {
             f.ButtonSkipStepClick();
             f.ButtonSkipDriveClick();
             EXPECT_TRUE(f.SkipStep && !f.SkipDrive && f.ButtonSkipDrive.Enabled && !f.ButtonSkipStep.Enabled);
         },
         then(then(cancelled, {kFast + "measuring speed 4x", kFast + " -> 4.0x/CLV", " "}), other), {32, 32, 4, 4, 32},
         false, nullptr},
        {"skip drive", [](TFormEval& f) { f.ButtonSkipDriveClick(); }, then(then(cancelled, {" "}), other), {32, 32, 32},
         false, nullptr},
        {"closing twice only asks for the abort; the next tick closes",
         [](TFormEval& f) {
             EXPECT_FALSE(f.Close() || f.Close());
             EXPECT_TRUE(f.Visible() && f.AbortPressed && !f.ButtonAbort.Enabled);
             EXPECT_EQ(f.Caption, "Measure speeds .. terminated");
         },
         cancelled, {32, 32, 32}, true, nullptr},
        {"skip drive of unknown speed", [](TFormEval& f) { f.ButtonSkipDriveClick(); },
         then(then(cancelled, {" "}), other), {}, false, capabilitiesPage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FreeDriveList();
        platform::host::ClearRegistry();
        AddDrive(0, "CD-ROM FAST", {4, 32}, {32, 4}, LongDataDisc(), c.fails);
        AddDrive(1, "CD-ROM OTHER", {8}, {8}, LongDataDisc());
        const auto form = Run([&](TFormEval& f) {
            ASSERT_TRUE(platform::host::RunUntil([&] { return f.Measuring; }));
            c.press(f);
        });
        EXPECT_EQ(std::tuple(form->Memo.Lines, SpeedsSet(0), closedItself_), std::tuple(c.lines, c.speedsSet, c.closed));
        EXPECT_FALSE(platform::OpenKey(RegRoot::LocalMachine, regnames::DriveKey(0, 0)).readString("Speed_1_data"));
        EXPECT_TRUE(platform::host::TakeMessages().empty());  // no complaint about an illegal speed
    }
}

// Deviations: 5 significant digits, written with 5 decimals in the user's separator.
TEST(MeasurementParametersTest, DeviationsHaveFiveSignificantDigits)
{
    auto values = std::make_unique<TBenchLinearInfo>();
    values->Density = 98;
    values->SampleTime = 600;
    values->BlocksPerRead = 16;
    values->Breakpoint = 4;
    values->Count = 120;
    values->ClvDeviation = 1.234567;
    values->CavDeviation = 0.0000123;
    EXPECT_EQ(MeasurementParameters(*values, 32, 332999), "s32/q98/z600/n16/i4/c120/L1.23460/A0.00001/332999");
    platform::host::SetDecimalSeparator(',');
    values->ClvDeviation = 12.3456789;
    values->CavDeviation = 0.0999996;
    EXPECT_EQ(MeasurementParameters(*values, 32, 332999), "s32/q98/z600/n16/i4/c120/L12,34600/A0,10000/332999");
}
