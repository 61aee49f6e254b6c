#pragma once
// Unit BenchReadLinear: measures how fast one drive reads at one speed step and how it turns the
// disc there (CLV, PCAV, CAV), on a worker thread.
//
// How the measurement window uses it:
//   1. It owns a TBenchLinearInfo (BenchValues) and a TBenchList (BenchList) holding exactly one
//      item, the address of BenchValues:  auto& items = BenchList.LockList(); items.clear();
//      items.reserve(1); items.push_back(&BenchValues); BenchList.UnlockList();
//   2. Before a run, under the lock, it sets the "in" fields (Drive, Density, SampleTime,
//      BlocksPerRead, LinearVelocity, RawDataRead, SpinUp, TargetSpeed) and clears AbortRequest.
//   3. It creates the thread, which starts at once and frees itself when it has ended:
//        auto* thread = new TBenchmarkThread(BenchList);
//        thread->OnTerminate = [this] { LinearDone(); };   // runs on the main thread
//        thread->SetPriority(platform::ThreadPriority::Highest);
//      Setting OnTerminate right after the constructor is safe: the end is delivered through the
//      main loop, which only the main thread runs.
//   4. While the run lasts it locks the list only briefly: to read Progress, to set AbortRequest.
//      It sends no command to the drive until OnTerminate has run.
//   5. In OnTerminate the record holds Finished, Failed, ErrorText, Count and the Samples, the
//      range, DiscTypeText, and unless the run failed ResultText (empty below 5 samples),
//      ClvDeviation, CavDeviation and Breakpoint.
// A programming error inside the run (an assertion) ends the thread without Finished; the
// thread's FatalError() gives its text before it frees itself.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Mutex.h"
#include "platform/Thread.h"

class TCDROM;

// Read modes of a sample; the block size of each is that of the drive's reads.
enum : uint8_t { kReadAudio = 0, kReadData = 1, kReadRaw = 2 };

constexpr int kMaxBenchSamples = 8000;

struct TBenchSample {
    int32_t StartLBA = 0;  // first block timed
    int32_t Blocks = 0;    // blocks read during the timed interval
    uint8_t Mode = 0;      // kReadAudio, kReadData, kReadRaw
    int32_t Millis = 0;    // duration
    double Factor = 0;     // speed factor, filled by the analysis
    double RPM = 0;        // spindle speed, filled by the analysis
};

// The record the window and the thread share; "in" fields are set by the window before a run,
// "out" fields by the thread. Only ever touched while the thread list is locked.
struct TBenchLinearInfo {
    TCDROM* Drive = nullptr;         // in: drive to measure
    int32_t Density = 0;             // in: per mille; after b blocks, ((1000 - Density) div Density) * b are skipped
    int32_t SampleTime = 0;          // in: ms of one timed sample; not negative
    int32_t BlocksPerRead = 0;       // in: blocks per read command, 1 to 27
    int32_t LinearVelocity = 0;      // in: scanning velocity at single speed, mm/s (1200 to 1400)
    bool RawDataRead = false;        // in: data tracks as raw 2352-byte blocks
    bool SpinUp = false;             // in: run the spin-up phase before sampling
    bool SpinningUp = false;         // out: the spin-up phase is running
    bool Running = false;            // out: the thread works on this record
    bool AbortRequest = false;       // in: stop as soon as possible
    bool Finished = false;           // out: the thread has completed, successfully or not
    bool Failed = false;             // out: the run ended with an error
    int32_t TargetSpeed = 0;         // in: speed factor that must stay set during the run
    std::string ErrorText;           // out: the error that ended the run
    double Progress = 0;             // out: 0 to 100
    int32_t RangeStart = -1;         // out: first LBA measured (start of the first track)
    int32_t RangeEnd = -1;           // out: last LBA (end of the last track)
    std::string DiscTypeText;        // out
    uint16_t Count = 0;              // out: samples, 0 to 8000
    std::string ResultText;          // out: "8x/CLV", "14x-24x/PCAV", "13x-31x/CAV"; empty when none
    double ClvDeviation = 0;         // out: relative deviation of the factor over the CLV part
    double CavDeviation = 0;         // out: relative deviation of the RPM over the CAV part
    int32_t Breakpoint = -1;         // out: last sample of the CAV part; -1 before the analysis
    std::array<TBenchSample, kMaxBenchSamples> Samples{};  // out: in reading order
};

// The thread list: a lock around a list that holds one item, the address of the record.
class TBenchList {
public:
    // Locks the list and gives its items; they may be used until UnlockList.
    std::vector<TBenchLinearInfo*>& LockList();
    void UnlockList();

private:
    platform::Mutex mutex_;
    std::vector<TBenchLinearInfo*> items_;
};

// Locks a thread list for the lifetime of the guard.
class TBenchListLock {
public:
    explicit TBenchListLock(TBenchList& list) : list_(list), items_(list.LockList()) {}
    ~TBenchListLock() { list_.UnlockList(); }
    TBenchListLock(const TBenchListLock&) = delete;
    TBenchListLock& operator=(const TBenchListLock&) = delete;
    std::vector<TBenchLinearInfo*>& Items() { return items_; }

private:
    TBenchList& list_;
    std::vector<TBenchLinearInfo*>& items_;
};

// Spindle speed in revolutions per minute while reading at rate KB/s (1 KB = 1024 bytes) around
// block lba in read mode mode, on a disc scanned at linearVelocity mm/s (asserted 1200 to 1400).
double CDTransferRateToRPM(int32_t lba, uint8_t mode, double linearVelocity, double rate);

// The analysis of the samples in values (Factor and RPM of each, the best split, the deviations,
// Breakpoint and ResultText), at the given scanning velocity. The caller holds the lock.
void AnalyzeSamples(TBenchLinearInfo& values, double linearVelocity);

// The result text of an analysis: total is the deviation of the best split, breakpoint its last
// CAV sample, n the sample count, the means those of all factors, of the CLV part's factors and of
// the CAV part's RPM. Empty below 5 samples; numbers with the system's decimal separator.
std::string LinearResultText(int32_t n, int32_t breakpoint, long double total, long double meanAll,
                             long double meanClv, long double meanRpm, double linearVelocity);

// One measurement run (one drive, one speed step): reads the TOC, measures each group of adjacent
// tracks of one kind, analyses the samples and marks the record finished.
class TBenchmarkThread final : public platform::Thread {
public:
    // Keeps the list, frees itself on termination and starts at once.
    explicit TBenchmarkThread(TBenchList& benchList);

protected:
    void Execute() override;

private:
    static constexpr int kBufferSize = 27 * 2352;

    void ReadLinear(TCDROM& drive, int32_t firstTrack, int32_t lastTrack, std::string& errorText, bool& failed);
    void Analyze();
    // ReadLinear's steps.
    void SpinUpPhase(int64_t start, int64_t end, uint8_t mode);
    void KeepSpeed();
    bool ReadStep(uint8_t mode, int64_t& cur, int64_t end, int64_t& firstError);
    void UpdateProgress(double progress);

    TCDROM* Drive = nullptr;
    int32_t Density = 0;
    uint32_t SampleTime = 0;
    int32_t BlocksPerRead = 0;
    int32_t LinearVelocity = 0;
    bool RawDataRead = false;
    bool SpinUp = false;
    TBenchList& BenchList;
    bool Aborted = false;
    bool Failed = false;
    int32_t TargetSpeed = 0;
    std::string ErrorText;
    std::array<uint8_t, kBufferSize> Buffer{};
};
