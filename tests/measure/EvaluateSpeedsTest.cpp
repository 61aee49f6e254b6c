// The measurement window on emulated drives: its walk over the drives and their stored steps,
// the disc checks, the results stored, skip and abort, and the parameter text.
#include <regex>

#include "emu/Scenario.h"
#include "measure/EvaluateSpeeds.h"
#include "measure/MeasureTestSupport.h"
#include "platform/host/HostLocale.h"
#include "settings/Language.h"
#include "settings/StoreTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

const char* const kSlow = " EMULATED SLOW :  ";
const char* const kOther = " EMULATED OTHER :  ";

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

    // A drive at target whose steps (slowest first) turn at constant linear velocity; it
    // starts at its fastest step.
    void AttachClvDrive(uint8_t target, const std::string& product, std::vector<int> factors,
                        std::shared_ptr<emu::Disc> disc, FailingCommands::Filter fails = nullptr)
    {
        auto drive = emu::MakeCdromDrive("EMULATED", product, "1.00");
        emu::SpeedModel model;
        for (const int f : factors) model.steps.push_back({uint32_t(f * 176), uint32_t(f * 1764 / 10), -1, Clv(f), {}});
        emu::Capabilities caps;
        caps.maxReadKBps = uint16_t(model.steps.back().reportedKBps);
        drive->modePages().setPage(emu::CapabilitiesPage(caps));
        model.current = factors.size() - 1;
        drive->setSpeedModel(model);
        if (disc) drive->setMedium(std::move(disc));
        std::shared_ptr<emu::Device> device = drive;
        if (fails) device = std::make_shared<FailingCommands>(drive, fails);
        manager_->attach(0, target, 0, device);
    }

    // The detected steps the window reads, as a detection at start-up stores them.
    static void StoreSteps(uint8_t target, const std::vector<int>& factors)
    {
        platform::RegKey key = platform::CreateKey(RegRoot::LocalMachine, regnames::DriveKey(0, target));
        for (size_t i = 0; i < factors.size(); ++i) key.writeInteger(regnames::SpeedValue(int(i + 1)), factors[i]);
    }

    static std::string Stored(uint8_t target, const std::string& value)
    {
        return platform::OpenKey(RegRoot::LocalMachine, regnames::DriveKey(0, target)).readString(value).value_or("");
    }

    // Shows the window; the script acts while it is open, then the loop runs until the window
    // is done (its timer off) or has closed itself.
    void Show(TFormEval& form, const std::function<void(TFormEval&)>& script = nullptr)
    {
        SetModalScript([&](TForm&) {
            if (script) script(form);
            EXPECT_TRUE(platform::host::RunUntil([&] { return !form.TimerStartEval.Enabled() || !form.Visible(); }));
            closedItself_ = !form.Visible();
        });
        form.ShowModal();
    }

    // The factor of every SET CD SPEED sent to target since the log was cleared.
    std::vector<int> SpeedsSet(uint8_t target) const
    {
        std::vector<int> factors;
        for (const emu::LogEntry& entry : manager_->log())
            if (entry.target == target && entry.cdb[0] == kSetCdSpeed) factors.push_back(getBe16(&entry.cdb[2]) / 176);
        return factors;
    }

    bool closedItself_ = false;
};

void WaitUntilMeasuring(TFormEval& form) { ASSERT_TRUE(platform::host::RunUntil([&] { return form.Measuring; })); }

}  // namespace

// The default system: every step of the TEAC's data disc, the empty LITEON, every DAE step of
// the PLEXTOR's audio CD (shorter than advised). Results are stored per step and disc kind.
TEST_F(EvalTest, MeasuresEveryStoredStepOfEveryDriveAndStoresTheResults)
{
    const auto system = emu::DefaultScenario();
    for (const uint8_t target : {1, 2, 4}) manager_->attach(0, target, 0, system->device(target == 4 ? 1 : 0, target, 0));
    StartProgram();
    for (int i = 0; i < numDrives; ++i) DetectSpeeds(i, false);
    const int32_t teacSpeed = Drives[0].CDROM->CurrentSpeedStep();

    auto form = std::make_unique<TFormEval>();
    Show(*form, [](TFormEval& f) {
        // Done: the window stays until its button closes it.
        ASSERT_TRUE(platform::host::RunUntil([&] { return !f.TimerStartEval.Enabled(); }));
        EXPECT_TRUE(f.Visible());
        f.ButtonAbortClick();
        EXPECT_FALSE(f.Visible());
    });
    const std::string teac = " TEAC CD-532E :  ";
    const std::string plextor = " PLEXTOR PX-40TS :  ";
    Lines expected = {teac + "measuring speed 32x", teac + " -> 13.9x-32.2x/CAV", teac + "measuring speed 16x",
                      teac + " -> 11.0x-16.0x/PCAV", teac + "measuring speed 4x", teac + " -> 4.0x/CLV", " ",
                      " LITEON LTN483 :  contains no disc", " ",
                      plextor + "the test CD should have as many sectors as possible"};
    for (const auto& [step, result] : {std::pair{"42x / \"16x-24x PCAV (DAE)\"", "16.0x-24.0x/PCAV"},
                                       {"20x / \"11x-20x PCAV (DAE)\"", "11.0x-20.0x/PCAV"},
                                       {"8x / \"8x CLV (DAE)\"", "8.0x/CLV"}, {"4x / \"4x CLV (DAE)\"", "4.0x/CLV"},
                                       {"2x / \"2x CLV (DAE)\"", "2.0x/CLV"}, {"1x / \"1x CLV (DAE)\"", "1.0x/CLV"}}) {
        expected.push_back(plextor + "measuring speed " + step);
        expected.push_back(plextor + " -> " + result);
    }
    expected.insert(expected.end(), {" ", " Done."});
    EXPECT_EQ(form->Memo.Lines, expected);
    EXPECT_EQ(form->ProgressBar.Position, 100);
    EXPECT_EQ(Drives[0].CDROM->CurrentSpeedStep(), teacSpeed);

    EXPECT_EQ(Stored(1, "Speed_1_data"), "13.9x-32.2x/CAV");
    EXPECT_EQ(Stored(1, "Speed_3_data"), "4.0x/CLV");
    EXPECT_EQ(Stored(4, "Speed_6_audio"), "1.0x/CLV");
    EXPECT_EQ(Stored(4, "Speed_1_data"), "");
    const std::string info = Stored(1, "Speed_1_data_inf");
    EXPECT_TRUE(std::regex_match(info, std::regex(R"(s32/q98/z600/n16/i\d+/c\d+/L0\.\d{5}/A0\.\d{5}/332999)"))) << info;

}

// Each check ends the drive with its line, before the first step or between two; a drive
// without stored steps gets only its blank line. Only the end of the step list sets the
// drive back to its speed before the run.
TEST_F(EvalTest, DiscChecksAndDrivesWithoutSteps)
{
    auto mixed = LongDataDisc();
    mixed->addTrack(emu::TrackKind::Audio, 20000);
    const struct Case {
        const char* what;
        std::shared_ptr<emu::Disc> disc;
        std::vector<int> steps;
        std::set<uint8_t> failing;
        Lines lines;
        std::vector<int> speedsSet;
    } cases[] = {
        {"no steps stored", LongDataDisc(), {}, {}, {" ", " Done."}, {8}},
        {"no disc", nullptr, {8}, {}, {std::string(kSlow) + "contains no disc", " ", " Done."}, {}},
        {"TOC unreadable", LongDataDisc(), {8}, {kReadToc}, {std::string(kSlow) + "Couldn't read TOC", " ", " Done."}, {}},
        {"mixed mode", mixed, {8}, {}, {std::string(kSlow) + "an audio or data CD is needed for measuring speeds.", " ", " Done."}, {}},
        {"last block 134999", LongDataDisc(135000), {8},  {},
         {std::string(kSlow) + "the test CD should have at least 135000 sectors", " ", " Done."}, {}},
        {"last block 135000: advice once, then two steps", LongDataDisc(135001), {8, 4}, {},
         {std::string(kSlow) + "the test CD should have as many sectors as possible", std::string(kSlow) + "measuring speed 8x",
          std::string(kSlow) + " -> 8.0x/CLV", std::string(kSlow) + "measuring speed 4x", std::string(kSlow) + " -> 4.0x/CLV",
          " ", " Done."},
         {8, 8, 4, 4, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FreeDriveList();
        platform::host::ClearRegistry();
        AttachClvDrive(0, "CD-ROM SLOW", {4, 8}, c.disc, c.failing.empty() ? nullptr : Failing(c.failing));
        StoreSteps(0, c.steps);
        StartProgram();
        auto form = std::make_unique<TFormEval>();
        Show(*form);
        EXPECT_EQ(form->Memo.Lines, c.lines);
        EXPECT_EQ(SpeedsSet(0), c.speedsSet);
    }
}

// Skip step, skip drive and abort during the first step of the first of two drives.
TEST_F(EvalTest, SkipAndAbortRequestsEndTheRunningStep)
{
    const std::string slow = kSlow;
    const std::string other = kOther;
    const struct Case {
        const char* what;
        std::function<void(TFormEval&)> press;
        Lines lines;
        std::vector<int> speedsSet;  // first drive
        bool closed;
    } cases[] = {
        {"skip step, then skip drive: the second press is ignored",
         [](TFormEval& f) {
             f.ButtonSkipStepClick();
             f.ButtonSkipDriveClick();
             EXPECT_TRUE(f.SkipStep && !f.SkipDrive && f.ButtonSkipDrive.Enabled && !f.ButtonSkipStep.Enabled);
         },
         {slow + "measuring speed 8x", slow + "test was cancelled", slow + "measuring speed 4x", slow + " -> 4.0x/CLV", " ",
          other + "measuring speed 8x", other + " -> 8.0x/CLV", " ", " Done."},
         {8, 8, 4, 4, 8},
         false},
        {"skip drive",
         [](TFormEval& f) { f.ButtonSkipDriveClick(); },
         {slow + "measuring speed 8x", slow + "test was cancelled", " ", other + "measuring speed 8x",
          other + " -> 8.0x/CLV", " ", " Done."},
         {8, 8, 8},
         false},
        {"closing twice only asks for the abort; the next tick closes",
         [](TFormEval& f) {
             EXPECT_FALSE(f.Close());
             EXPECT_FALSE(f.Close());
             EXPECT_TRUE(f.Visible() && f.AbortPressed && !f.ButtonAbort.Enabled);
             EXPECT_EQ(f.Caption, "Measure speeds .. terminated");
         },
         {slow + "measuring speed 8x", slow + "test was cancelled"},
         {8, 8, 8},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FreeDriveList();
        platform::host::ClearRegistry();
        AttachClvDrive(0, "CD-ROM SLOW", {4, 8}, LongDataDisc());
        AttachClvDrive(1, "CD-ROM OTHER", {8}, LongDataDisc());
        StoreSteps(0, {8, 4});
        StoreSteps(1, {8});
        StartProgram();
        auto form = std::make_unique<TFormEval>();
        Show(*form, [&](TFormEval& f) {
            WaitUntilMeasuring(f);
            c.press(f);
        });
        EXPECT_EQ(form->Memo.Lines, c.lines);
        EXPECT_EQ(SpeedsSet(0), c.speedsSet);
        EXPECT_EQ(closedItself_, c.closed);
        EXPECT_EQ(Stored(0, "Speed_1_data"), "");
    }
}

// A drive whose speed cannot be read has none to go back to: skipping it sets nothing (no
// complaint about an illegal speed).
TEST_F(EvalTest, SkippingADriveOfUnknownSpeedSetsNoSpeed)
{
    const auto pageCapabilities = [](const std::vector<uint8_t>& cdb) {
        return (cdb[0] == 0x1A || cdb[0] == 0x5A) && (cdb[2] & 0x3F) == 0x2A;
    };
    AttachClvDrive(0, "CD-ROM SLOW", {4, 8}, LongDataDisc(), pageCapabilities);
    StoreSteps(0, {8});
    StartProgram();
    auto form = std::make_unique<TFormEval>();
    Show(*form, [](TFormEval& f) {
        WaitUntilMeasuring(f);
        f.ButtonSkipDriveClick();
    });
    EXPECT_EQ(form->SavedSpeed, -1);
    EXPECT_EQ(form->Memo.Lines, (Lines{std::string(kSlow) + "measuring speed 8x", std::string(kSlow) + "test was cancelled", " ", " Done."}));
    EXPECT_TRUE(platform::host::TakeMessages().empty());
}

// Density per mille and deviations with 5 significant digits written with 5 decimals.
TEST(MeasurementParametersTest, DeviationsAndTheStepsSettings)
{
    const struct Case {
        double clv, cav;
        char separator;
        const char* text;
    } cases[] = {
        {0.0123456789, 0.000012345, '.', "s32/q98/z600/n16/i4/c120/L0.01235/A0.00001/332999"},
        {1.234567, 0, ',', "s32/q98/z600/n16/i4/c120/L1,23460/A0,00000/332999"},
        {12.3456789, 0.0999996, '.', "s32/q98/z600/n16/i4/c120/L12.34600/A0.10000/332999"},
    };
    for (const Case& c : cases) {
        platform::host::SetDecimalSeparator(c.separator);
        auto values = std::make_unique<TBenchLinearInfo>();
        values->Density = 98;
        values->SampleTime = 600;
        values->BlocksPerRead = 16;
        values->Breakpoint = 4;
        values->Count = 120;
        values->ClvDeviation = c.clv;
        values->CavDeviation = c.cav;
        EXPECT_EQ(MeasurementParameters(*values, 32, 332999), c.text);
    }
    platform::host::SetDecimalSeparator('.');
}
