#include "measure/EvaluateSpeeds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "drive/CDROM.h"
#include "platform/Assert.h"
#include "platform/Locale.h"
#include "platform/Time.h"
#include "settings/Language.h"
#include "settings/Store.h"

namespace {

constexpr const char* kUnit = "EvaluateSpeeds";

// Discs shorter than this cannot be measured; shorter than the advised length give few samples.
constexpr int32_t kMinBlocks = 135000;
constexpr int32_t kAdvisedBlocks = 299700;

constexpr int32_t kSampleTime = 600;
constexpr int32_t kBlocksPerRead = 16;
constexpr int32_t kLinearVelocity = 1300;
// The drive gets time to settle before and after its speed is set.
constexpr uint32_t kPauseBeforeSpeedMs = 500;
constexpr uint32_t kPauseAfterSpeedMs = 2000;

// Fixed point with at most `precision` significant digits, written with `decimals` decimals.
std::string SignificantFixed(double value, int precision, int decimals)
{
    int places = decimals;
    if (value != 0 && std::isfinite(value)) {
        const int integerDigits = int(std::floor(std::log10(std::fabs(value)))) + 1;
        places = std::clamp(precision - integerDigits, 0, decimals);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    std::string result = text;
    if (places < decimals) {
        if (places == 0) result += '.';
        result.append(size_t(decimals - places), '0');
    }
    std::replace(result.begin(), result.end(), '.', platform::DecimalSeparator());
    return result;
}

}  // namespace

std::string MeasurementParameters(const TBenchLinearInfo& values, int32_t stepSpeed, int32_t lastBlock)
{
    // Appended piece by piece: "literal" + temporary makes GCC 12 warn wrongly (-Wrestrict).
    std::string text;
    const auto add = [&text](const char* label, const std::string& value) {
        text += label;
        text += value;
    };
    add("s", std::to_string(stepSpeed));
    add("/q", std::to_string(values.Density));
    add("/z", std::to_string(values.SampleTime));
    add("/n", std::to_string(values.BlocksPerRead));
    add("/i", std::to_string(values.Breakpoint));
    add("/c", std::to_string(values.Count));
    add("/L", SignificantFixed(values.ClvDeviation, 5, 5));
    add("/A", SignificantFixed(values.CavDeviation, 5, 5));
    add("/", std::to_string(lastBlock));
    return text;
}

TFormEval::TFormEval() : TForm(kClientWidth, kClientHeight)
{
    TimerStartEval.OnTimer = [this] { TimerStartEvalTimer(); };
    FormCreate();
}

TFormEval::~TFormEval()
{
    *alive_ = false;
    if (!Measuring) return;
    // The thread frees itself only once its end has run here, so it is still there to ask.
    SetAbortRequest();
    BenchThread->Terminate();
    while (!BenchThread->Finished()) platform::SleepMs(10);
}

void TFormEval::FormCreate()
{
    Caption = lg_EVAL_CAPTION;
    ButtonSkipStep.Caption = lg_SKIPSTEP;
    ButtonSkipDrive.Caption = lg_SKIPDRIVE;
    ButtonAbort.Caption = lg_CLOSE;
    {
        TBenchListLock lock(BenchList);
        lock.Items().clear();
        lock.Items().reserve(1);
        lock.Items().push_back(BenchValues.get());
    }
    DriveIndex = 0;
    LinePrefix.clear();
    SavedSpeed = StepSpeed = StepIndex = 0;
    AudioDisc = false;
    AbortPressed = SkipStep = SkipDrive = Measuring = false;
    TimerStartEval.SetEnabled(true);
}

TCDROM& TFormEval::Drive() const { return *Drives[DriveIndex].CDROM; }

void TFormEval::AddLine(const std::string& line) { Memo.Lines.push_back(line); }

void TFormEval::NextDrive()
{
    StepIndex = 0;
    DriveIndex += 1;
    AddLine(" ");
}

void TFormEval::RestoreSpeed()
{
    // A drive whose speed could not be read has nothing to go back to.
    if (SavedSpeed > 0) Drive().SetCDSpeed(SavedSpeed);
}

void TFormEval::SetAbortRequest()
{
    TBenchListLock lock(BenchList);
    BenchValues->AbortRequest = true;
}

void TFormEval::TimerStartEvalTimer()
{
    if (Measuring) {
        double progress = 0;
        {
            TBenchListLock lock(BenchList);
            progress = BenchValues->Progress;
        }
        ProgressBar.Position = std::clamp(int(std::ceil(progress)), ProgressBar.Min, ProgressBar.Max);
        Changed();
        return;
    }
    if (AbortPressed || DriveIndex >= numDrives) {
        TimerStartEval.SetEnabled(false);
        ProgressBar.Position = ProgressBar.Max;
        if (!AbortPressed) {
            AddLine(lg_EVAL_DONE);
        } else {
            RestoreSpeed();
            Close();
        }
        Changed();
        return;
    }
    SkipStep = false;
    if (SkipDrive) {
        SkipDrive = false;
        RestoreSpeed();
        NextDrive();
        Changed();
        return;
    }
    if (StepIndex == 0) SavedSpeed = Drive().CurrentSpeedStep();
    StepIndex += 1;
    StepSpeed = DetectedSpeed(DriveIndex, StepIndex);
    if (StepSpeed == -1) {
        RestoreSpeed();
        NextDrive();
        Changed();
        return;
    }
    std::string prefix(1, ' ');
    prefix += MakeDriveName(Drive().Vendor(), Drive().Product());
    LinePrefix = prefix + " :  ";
    if (CheckDisc()) {
        if (StepIndex == 1 && LastBlock < kAdvisedBlocks) AddLine(LinePrefix + lg_MORE_SECTORS);
        StartStep();
    }
    Changed();
}

bool TFormEval::CheckDisc()
{
    TCDROM& drive = Drive();
    std::string failure;
    if (!drive.TestUnitReady()) {
        failure = lg_NO_DISC;
    } else if (!drive.ReadTOC()) {
        failure = lg_TOC_FAILED;
    } else if (const int type = drive.GetDiscType() & 0x7F; type != dtData && type != dtAudio) {
        failure = lg_NEED_AUDIO_OR_DATA;
    } else if (LastBlock = drive.ReadCapacity(); LastBlock < kMinBlocks) {
        failure = lg_MIN_SECTORS_1 + std::to_string(kMinBlocks) + lg_MIN_SECTORS_2;
    }
    if (failure.empty()) return true;
    AddLine(LinePrefix + failure);
    NextDrive();
    return false;
}

void TFormEval::StartStep()
{
    TCDROM& drive = Drive();
    AudioDisc = (drive.GetDiscType() & 0x7F) == dtAudio;
    Measuring = true;
    {
        TBenchListLock lock(BenchList);
        KALMOR_ASSERT(lock.Items().size() == 1, kUnit, "TimerStartEvalTimer: count<>1");
        KALMOR_ASSERT(lock.Items()[0] == BenchValues.get(), kUnit, "TimerStartEvalTimer: @BenchValues <> Items[0]");
        TBenchLinearInfo& v = *BenchValues;
        v.Drive = &drive;
        v.Density = std::max(2, 3 * StepSpeed + 2);
        v.SampleTime = kSampleTime;
        v.BlocksPerRead = kBlocksPerRead;
        v.LinearVelocity = kLinearVelocity;
        v.RawDataRead = false;
        v.SpinUp = true;
        v.SpinningUp = false;
        v.AbortRequest = false;
        v.TargetSpeed = StepSpeed;
    }
    platform::SleepMs(kPauseBeforeSpeedMs);
    drive.SetCDSpeed(StepSpeed);
    platform::SleepMs(kPauseAfterSpeedMs);
    drive.ReadTOC();
    drive.TestUnitReady();
    drive.SetCDSpeed(StepSpeed);
    drive.TestUnitReady();
    drive.CurrentSpeedStep();

    std::string zone = drive.ZoneDescription;
    if (AudioDisc && !drive.DaeZoneDescription.empty()) zone = drive.DaeZoneDescription + " (DAE)";
    if (!zone.empty()) zone = " / \"" + zone + "\"";
    AddLine(LinePrefix + lg_MEASURING_SPEED + std::to_string(StepSpeed) + "x" + zone);

    BenchThread = new TBenchmarkThread(BenchList);
    BenchThread->OnTerminate = [this, alive = alive_] {
        if (*alive) LinearDone();
    };
    BenchThread->SetPriority(platform::ThreadPriority::Highest);
}

void TFormEval::LinearDone()
{
    {
        TBenchListLock lock(BenchList);
        KALMOR_ASSERT(lock.Items().size() == 1, kUnit, "LinearDone: count<>1");
        KALMOR_ASSERT(lock.Items()[0] == BenchValues.get(), kUnit, "LinearDone: @BenchValues <> Items[0]");
        TBenchLinearInfo& v = *BenchValues;
        KALMOR_ASSERT(v.Finished, kUnit, "LinearDone: not done");
        if (v.Failed) AddLine(LinePrefix + lg_READ_ERROR);
        if (v.AbortRequest) AddLine(LinePrefix + lg_TEST_CANCELLED);
        if (!v.Failed && !v.AbortRequest) {
            if (v.ResultText.empty()) {
                AddLine(LinePrefix + lg_NO_EVALUATION);
            } else {
                WriteMeasurement(DriveIndex, StepIndex, v.ResultText, MeasurementParameters(v, StepSpeed, LastBlock),
                                 AudioDisc);
                AddLine(LinePrefix + " -> " + v.ResultText);
            }
        }
        v.AbortRequest = false;
    }
    Measuring = false;
    BenchThread = nullptr;
    ButtonAbort.Enabled = ButtonSkipDrive.Enabled = ButtonSkipStep.Enabled = true;
    Changed();
}

void TFormEval::ButtonSkipStepClick()
{
    if (!Measuring || SkipDrive || AbortPressed) return;
    SetAbortRequest();
    SkipStep = true;
    ButtonSkipStep.Enabled = false;
}

void TFormEval::ButtonSkipDriveClick()
{
    if (!Measuring || SkipStep || AbortPressed) return;
    SetAbortRequest();
    SkipDrive = true;
    ButtonSkipDrive.Enabled = false;
}

void TFormEval::ButtonAbortClick()
{
    if (Measuring) {
        // Asked once: a second close request must not repeat the caption's note.
        if (AbortPressed) return;
        AbortPressed = true;
        SetAbortRequest();
        Caption += lg_TERMINATING;
        ButtonAbort.Enabled = false;
    } else if (DriveIndex >= numDrives && !closeQuery_) {
        Close();
    }
}

bool TFormEval::FormCloseQuery()
{
    closeQuery_ = true;
    ButtonAbortClick();
    closeQuery_ = false;
    Changed();
    return !Measuring && !TimerStartEval.Enabled();
}
