#pragma once
// Unit EvaluateSpeeds: the measurement window. Its 100 ms timer walks through every drive and
// every detected speed step stored for it, checks the disc, prepares the drive and measures the
// step on a TBenchmarkThread; the thread's end writes the result line into the log and stores
// the result. Skip step, skip drive and abort reach the thread through its abort request.
#include <cstdint>
#include <memory>
#include <string>

#include "measure/BenchReadLinear.h"
#include "platform/MainLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"

class TCDROM;

class TFormEval : public TForm {
public:
    static constexpr int kClientWidth = 498;
    static constexpr int kClientHeight = 208;

    // Runs FormCreate: the timer starts with the window.
    TFormEval();
    // A run still going is stopped and waited for: the thread uses this window's record.
    ~TFormEval() override;

    void FormCreate();
    void TimerStartEvalTimer();
    // The end of a run, on the main thread.
    void LinearDone();
    void ButtonAbortClick();
    void ButtonSkipStepClick();
    void ButtonSkipDriveClick();

    TPanel Panel;
    TMemo Memo;
    TProgressBar ProgressBar;
    TButton ButtonSkipStep;
    TButton ButtonSkipDrive;
    TButton ButtonAbort;
    platform::Timer TimerStartEval{100};

    int32_t SavedSpeed = 0;
    int32_t StepSpeed = 0;
    int32_t StepIndex = 0;
    int32_t DriveIndex = 0;
    bool AudioDisc = false;
    std::string LinePrefix;
    bool AbortPressed = false;
    bool SkipStep = false;
    bool SkipDrive = false;
    bool Measuring = false;
    // Large (8000 samples): kept off the stack of whoever makes the window.
    std::unique_ptr<TBenchLinearInfo> BenchValues = std::make_unique<TBenchLinearInfo>();
    TBenchList BenchList;
    TBenchmarkThread* BenchThread = nullptr;

protected:
    bool FormCloseQuery() override;

private:
    TCDROM& Drive() const;
    void AddLine(const std::string& line);
    // Ends the current drive: the next tick starts the next one.
    void NextDrive();
    // Sets the drive back to the speed it had before its first step.
    void RestoreSpeed();
    // False (with its log line) when the disc cannot be measured.
    bool CheckDisc();
    void StartStep();
    void SetAbortRequest();

    // Last block address of the disc being measured, for the parameter text.
    int32_t LastBlock = -1;
    // Set while FormCloseQuery runs the abort button: the close is already under way.
    bool closeQuery_ = false;
    // Lets a run's end that arrives after the window has gone do nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// "s32/q98/z600/n16/i4/c120/L0.01234/A0.00123/333000": the parameters and the analysis figures
// of a measured step, stored beside its result. Deviations in fixed point with 5 significant
// digits and 5 decimals, in the user's decimal separator.
std::string MeasurementParameters(const TBenchLinearInfo& values, int32_t stepSpeed, int32_t lastBlock);
