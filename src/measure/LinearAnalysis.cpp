// The analysis of a linear read measurement: each sample's speed factor and spindle speed, the
// split of the samples into a constant-rotation part and a constant-rate part that fits best,
// and the result text.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "measure/BenchReadLinear.h"
#include "platform/Assert.h"
#include "platform/Locale.h"

namespace {

constexpr const char* kUnit = "BenchReadLinear";
constexpr long double kPi = 3.14159265358979323846L;

constexpr int kAudioBlock = 2352;
constexpr int kDataBlock = 2048;
constexpr int kFewestSamples = 5;
constexpr long double kMostDeviation = 0.2L;

int BlockSize(uint8_t mode) { return mode == kReadData ? kDataBlock : kAudioBlock; }

long double Mean(const TBenchLinearInfo& values, int first, int last, double TBenchSample::*field)
{
    long double sum = 0;
    for (int i = first; i <= last; ++i) sum += values.Samples[size_t(i)].*field;
    return sum / (last - first + 1);
}

// Relative standard deviation of one field over samples first..last: sqrt(sum (x/m - 1)^2 / count).
// Speeds are never negative, so a mean of 0 means all are 0 and nothing deviates.
long double RelativeDeviation(const TBenchLinearInfo& values, int first, int last, double TBenchSample::*field)
{
    const long double mean = Mean(values, first, last, field);
    if (mean == 0) return 0;
    long double squares = 0;
    for (int i = first; i <= last; ++i) {
        const long double d = values.Samples[size_t(i)].*field / mean - 1;
        squares += d * d;
    }
    return std::sqrt(squares / (last - first + 1));
}

// Fixed point with the system's decimal separator, halves rounded away from zero.
std::string Fixed(long double value, int decimals)
{
    const long double scale = decimals == 0 ? 1 : 10;
    const long double rounded = std::copysign(std::floor(std::fabs(value) * scale + 0.5L) / scale, value);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, double(rounded));
    std::string result = text;
    std::replace(result.begin(), result.end(), '.', platform::DecimalSeparator());
    return result;
}

long double NearestHalf(long double value) { return std::floor(2 * value + 0.5L) / 2; }

}  // namespace

double CDTransferRateToRPM(int32_t lba, uint8_t mode, double linearVelocity, double rate)
{
    KALMOR_ASSERT(linearVelocity >= 1200 && linearVelocity <= 1400, kUnit,
                  "CDTransferRateToRPM: illegal LinearRotationalSpeed");
    // The spiral of a disc of 4473 seconds from 25 mm outwards; 41.5 mm is its mean radius.
    const double length = linearVelocity * 4473;
    const double turns = length / (2 * double(kPi)) / 41.5 - 1;
    const double q = turns * 25 / 33 + 0.5;
    const double x = double(lba) * length / 335475 / double(kPi) - 50;
    const double n = std::sqrt(q * q + x * turns / 33) - q;
    const double circumference = (n * 33 / turns + 25) * 2 * double(kPi);
    const double base = mode == kReadAudio || mode == kReadRaw ? 172.265625 : 150;
    return 60 / (circumference / (linearVelocity * rate / base));
}

void AnalyzeSamples(TBenchLinearInfo& values, double linearVelocity)
{
    const int n = values.Count;
    for (int i = 0; i < n; ++i) {
        TBenchSample& s = values.Samples[size_t(i)];
        const int size = BlockSize(s.Mode);
        const int32_t mid = s.StartLBA + s.Blocks / 2;
        const double rate = s.Millis >= 1 ? double((int64_t(s.Blocks) * size) / s.Millis) / 1.024 : 0;
        s.Factor = rate / (size * 0.0732421875);
        s.RPM = CDTransferRateToRPM(mid, s.Mode, linearVelocity, rate);
    }

    // Constant rate over samples k..n-1 after constant rotation over 0..k; the smallest k wins a tie.
    long double bestF = 0, bestR = 0;
    int best = -1;
    for (int k = 0; k < n; ++k) {
        const long double sF = RelativeDeviation(values, k, n - 1, &TBenchSample::Factor);
        const long double sR = RelativeDeviation(values, 0, k, &TBenchSample::RPM);
        if (k == 0 || std::sqrt(sF * sF + sR * sR) < std::sqrt(bestF * bestF + bestR * bestR)) {
            bestF = sF;
            bestR = sR;
            best = k;
        }
    }
    values.ClvDeviation = double(bestF);
    values.CavDeviation = double(bestR);
    values.Breakpoint = best;
    values.ResultText.clear();
    if (n < kFewestSamples) return;
    values.ResultText = LinearResultText(n, best, std::sqrt(bestF * bestF + bestR * bestR),
                                         Mean(values, 0, n - 1, &TBenchSample::Factor),
                                         Mean(values, best, n - 1, &TBenchSample::Factor),
                                         Mean(values, 0, best, &TBenchSample::RPM), linearVelocity);
}

std::string LinearResultText(int32_t n, int32_t breakpoint, long double total, long double meanAll,
                             long double meanClv, long double meanRpm, double linearVelocity)
{
    if (n < kFewestSamples) return "";
    if (total > kMostDeviation) return Fixed(meanAll, 1) + "x";
    // Speed factors at 25 mm and 58 mm under constant rotation.
    long double innerX = meanRpm * 25 * 2 * kPi / linearVelocity / 60;
    long double outerX = meanRpm * 58 * 2 * kPi / linearVelocity / 60;
    int decimals = 0;
    if (total < 0.01L) {
        decimals = 1;
    } else if (total < 0.02L) {
        decimals = 1;
        innerX = NearestHalf(innerX);
        outerX = NearestHalf(outerX);
        meanClv = NearestHalf(meanClv);
    }
    const double f = double(breakpoint + 1) / std::max(1, n);
    if (f < 0.1 || breakpoint == 0 || breakpoint == 1) return Fixed(meanClv, decimals) + "x/CLV";
    if (f > 0.9 || breakpoint == n - 1) return Fixed(innerX, decimals) + "x-" + Fixed(outerX, decimals) + "x/CAV";
    return Fixed(innerX, decimals) + "x-" + Fixed(meanClv, decimals) + "x/PCAV";
}
