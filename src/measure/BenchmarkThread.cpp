// The measurement thread: one run over the disc at one speed step, its record shared with the
// measurement window through the thread list.
#include <algorithm>

#include "drive/CDROM.h"
#include "measure/BenchReadLinear.h"
#include "platform/Assert.h"

namespace {

constexpr const char* kUnit = "BenchReadLinear";
constexpr int kFirstTrack = 1;
constexpr int kLastTrack = 99;
constexpr int kBlocksInBuffer = 27;

}  // namespace

std::vector<TBenchLinearInfo*>& TBenchList::LockList()
{
    mutex_.lock();
    return items_;
}

void TBenchList::UnlockList() { mutex_.unlock(); }

TBenchmarkThread::TBenchmarkThread(TBenchList& benchList) : BenchList(benchList)
{
    FreeOnTerminate = true;
    Start();
}

void TBenchmarkThread::Analyze()
{
    TBenchListLock lock(BenchList);
    KALMOR_ASSERT(lock.Items().size() == 1, kUnit, "Analyze: count<>1");
    AnalyzeSamples(*lock.Items()[0], LinearVelocity);
}

void TBenchmarkThread::Execute()
{
    {
        TBenchListLock lock(BenchList);
        KALMOR_ASSERT(lock.Items().size() == 1, kUnit, "Execute: count<>1");
        TBenchLinearInfo& values = *lock.Items()[0];
        KALMOR_ASSERT(values.SampleTime >= 0, kUnit, "Range check error");
        // Without these the run would divide by zero, read past its buffer or never advance.
        KALMOR_ASSERT(values.Drive, kUnit, "Execute: no drive");
        KALMOR_ASSERT(values.Density >= 1, kUnit, "Execute: Density < 1");
        KALMOR_ASSERT(values.BlocksPerRead >= 1 && values.BlocksPerRead <= kBlocksInBuffer, kUnit,
                      "Execute: BlocksPerRead not in [1..27]");
        Drive = values.Drive;
        Density = values.Density;
        SampleTime = uint32_t(values.SampleTime);
        BlocksPerRead = values.BlocksPerRead;
        LinearVelocity = values.LinearVelocity;
        RawDataRead = values.RawDataRead;
        SpinUp = values.SpinUp;
        TargetSpeed = values.TargetSpeed;
        values.Running = true;
        values.SpinningUp = false;
        values.RangeStart = -1;
        values.RangeEnd = -1;
        values.Count = 0;
        values.Progress = 0;
        values.DiscTypeText.clear();
        values.ResultText.clear();
        values.ClvDeviation = 0;
        values.CavDeviation = 0;
        values.Breakpoint = -1;
        values.Finished = false;
        values.Failed = false;
        values.ErrorText.clear();
    }
    Failed = false;
    ErrorText.clear();
    Aborted = false;

    // Track numbers come from the drive; only 1..99 can be asked about.
    int first = 0;
    int last = -1;
    if (!Drive->ReadTOC()) {
        Failed = true;
        ErrorText = "TOC kann nicht gelesen werden";
    } else {
        first = std::max<int>(Drive->FirstTrack(), kFirstTrack);
        last = std::min<int>(Drive->LastTrack(), kLastTrack);
        TBenchListLock lock(BenchList);
        TBenchLinearInfo& values = *lock.Items()[0];
        if (first <= last) {
            values.RangeStart = Drive->TrackStart(first);
            values.RangeEnd = Drive->TrackEnd(last);
        }
        values.DiscTypeText = Drive->DiscTypeText();
    }

    // Groups of adjacent tracks of one kind, each measured on its own.
    for (int t = first; t <= last && !Failed && !Aborted;) {
        int next = t + 1;
        while (next <= last && Drive->IsAudioTrack(next) == Drive->IsAudioTrack(t) &&
               int64_t(Drive->TrackEnd(next - 1)) + 1 == Drive->TrackStart(next))
            ++next;
        if (!Aborted) ReadLinear(*Drive, t, next - 1, ErrorText, Failed);
        {
            TBenchListLock lock(BenchList);
            Aborted = lock.Items()[0]->AbortRequest;
        }
        t = next;
    }

    Drive->RestoreDataMode();
    // An aborted run is analysed too; the window ignores its result.
    if (!Failed) Analyze();

    TBenchListLock lock(BenchList);
    TBenchLinearInfo& values = *lock.Items()[0];
    values.Progress = 100;
    values.Failed = Failed;
    values.ErrorText = ErrorText;
    values.Finished = true;
    values.Running = false;
}
