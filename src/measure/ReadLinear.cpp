// The linear read measurement of one group of tracks: a spin-up phase until the rate settles,
// then timed samples from the inside out, spaced by the sampling density, stepping over read
// errors. Positions are 64-bit: track bounds come from the drive and may be anything.
#include <algorithm>

#include "drive/CDROM.h"
#include "measure/BenchReadLinear.h"
#include "platform/Time.h"

namespace {

constexpr int64_t kErrorSkip = 225;           // blocks stepped over after a read error near an end
constexpr int64_t kSpinUpOffset = 225;        // spin-up slices read from here on
constexpr uint32_t kSliceMs = 400;
constexpr uint32_t kSpinUpLimitMs = 10000;
constexpr double kSettledRate = 37.5;         // blocks a second a trend needs to be taken seriously
constexpr int kMostErrors = 10;

uint32_t Since(uint32_t tick) { return platform::TickCount() - tick; }

}  // namespace

void TBenchmarkThread::UpdateProgress(double progress)
{
    TBenchListLock lock(BenchList);
    TBenchLinearInfo& values = *lock.Items()[0];
    values.Progress = std::clamp(progress, 0.0, 100.0);
    Aborted = values.AbortRequest;
}

void TBenchmarkThread::KeepSpeed()
{
    if (TargetSpeed <= 0) return;
    const int32_t current = Drive->CurrentSpeedStep();
    if (current > 0 && current != TargetSpeed) Drive->SetCDSpeed(TargetSpeed);
}

bool TBenchmarkThread::ReadStep(uint8_t mode, int64_t& cur, int64_t end, int64_t& firstError)
{
    const auto count = uint32_t(std::min<int64_t>(end - cur + 1, BlocksPerRead));
    const auto lba = uint32_t(cur);
    bool ok = false;
    switch (mode) {
    case kReadAudio: ok = Drive->ReadAudio(lba, count, Buffer.data(), kBufferSize); break;
    case kReadRaw: ok = Drive->ReadRaw(lba, count, Buffer.data(), kBufferSize); break;
    default: ok = Drive->ReadData(lba, count, Buffer.data(), kBufferSize); break;
    }
    if (!ok && firstError < 0) firstError = cur;
    cur += count;
    return ok;
}

void TBenchmarkThread::SpinUpPhase(int64_t start, int64_t end, uint8_t mode)
{
    {
        TBenchListLock lock(BenchList);
        lock.Items()[0]->SpinningUp = true;
        lock.Items()[0]->Progress = 0;
    }
    Drive->SpinUp();
    double prev = 0;
    int trend = 0;
    const uint32_t t0 = platform::TickCount();
    bool done = false;
    do {
        KeepSpeed();
        int64_t cur = start + kSpinUpOffset;
        const int64_t sliceStart = cur;
        int64_t unused = -1;
        const uint32_t t1 = platform::TickCount();
        while (Since(t1) < kSliceMs && cur <= end) {
            if (!ReadStep(mode, cur, end, unused)) cur += kErrorSkip;
        }
        // A range too short for a slice has nothing to settle on.
        if (cur == sliceStart) break;
        const double rate = double(cur - sliceStart) * 1000 / std::max<uint32_t>(Since(t1), 1);
        if (trend == 0) {
            done = false;
            if (prev > kSettledRate) trend = prev < rate ? +1 : -1;
        }
        if (trend == +1) done = prev / rate > 0.98;
        if (trend == -1) done = prev / rate < 1.02;
        UpdateProgress(double(Since(t0) * 100 / kSpinUpLimitMs));
        if (!done && !Aborted) platform::SleepMs(kSliceMs);
        prev = rate;
    } while (!done && !Aborted && Since(t0) <= kSpinUpLimitMs);
    TBenchListLock lock(BenchList);
    lock.Items()[0]->SpinningUp = false;
    lock.Items()[0]->Progress = 0;
}

void TBenchmarkThread::ReadLinear(TCDROM& drive, int32_t firstTrack, int32_t lastTrack, std::string& errorText,
                                  bool& failed)
{
    const int64_t start = drive.TrackStart(firstTrack);
    const int64_t end = drive.TrackEnd(lastTrack);
    // A track the TOC does not place, or places backwards, has nothing to measure.
    if (start < 0 || end < start) return;
    const uint8_t mode = drive.IsAudioTrack(firstTrack) ? kReadAudio : RawDataRead ? kReadRaw : kReadData;
    if (SpinUp) SpinUpPhase(start, end, mode);

    int64_t pos = start;
    int64_t cur = start;
    int errors = 0;
    int64_t firstError = -1;
    bool full = false;
    while (!full && !Aborted && errors <= kMostErrors && pos + 2 * BlocksPerRead <= end) {
        if (Terminated()) return;
        cur = pos;
        KeepSpeed();
        bool readFailed = !ReadStep(mode, cur, end, firstError);  // positions the head, not timed
        const uint32_t t0 = platform::TickCount();
        if (!readFailed) {
            pos = cur;
            while (Since(t0) < SampleTime && cur <= end && !readFailed) readFailed = !ReadStep(mode, cur, end, firstError);
        }
        if (readFailed) {
            {
                TBenchListLock lock(BenchList);
                Aborted = lock.Items()[0]->AbortRequest;
            }
            if (cur - start < kErrorSkip || end - cur < kErrorSkip) {
                pos = cur + kErrorSkip;
            } else {
                pos = cur + std::max<int64_t>(BlocksPerRead, 150 * (errors + 1));
                ++errors;
            }
            continue;
        }
        const int64_t blocks = cur - pos;
        const uint32_t ms = Since(t0);
        // The last sample before the end of the range is usually short and does not count.
        if (ms > 0.7 * SampleTime) {
            TBenchListLock lock(BenchList);
            TBenchLinearInfo& values = *lock.Items()[0];
            Aborted = values.AbortRequest;
            if (values.Count >= kMaxBenchSamples) {
                full = true;
            } else {
                values.Samples[values.Count] = {int32_t(pos), int32_t(blocks), mode, int32_t(ms), 0, 0};
                ++values.Count;
                if (values.RangeEnd > values.RangeStart)
                    values.Progress = std::clamp(double(cur - values.RangeStart) * 100 / (values.RangeEnd - values.RangeStart), 0.0, 100.0);
            }
        }
        const int64_t skip = int64_t((1000 - Density) / Density) * blocks;
        pos = cur + skip + blocks - 1 > end ? std::max(cur, end - blocks) : cur + skip;
    }
    if (full) {
        failed = true;
        errorText = "zu viele Meßwerte";
    }
    if (errors > kMostErrors) {
        failed = true;
        errorText = "zu viele Lesefehler im Bereich LBN[" + std::to_string(firstError) + "," + std::to_string(cur) + "]";
    }
}
