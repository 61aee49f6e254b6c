// The analysis of the samples: spindle speed, the best split and the result text.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "measure/BenchReadLinear.h"
#include "platform/host/Host.h"
#include "platform/host/HostLocale.h"
#include "support/Assertions.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The spindle speed that gives this factor at radius 25 mm, scanned at 1300 mm/s.
long double RpmOfInnerFactor(double factor) { return factor * 1300 * 60 / (2 * kPi * 25); }

class Analysis : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::host::Reset();
        platform::host::SetDecimalSeparator(',');
    }
};

}  // namespace

TEST_F(Analysis, SpindleSpeedFollowsTheSpiral)
{
    // Single speed at the inner edge: a circumference of 157.1 mm passes 1300 mm a second.
    for (const auto& [mode, rate] : {std::pair{kReadData, 150.0}, {kReadAudio, 172.265625}, {kReadRaw, 172.265625}})
        EXPECT_NEAR(CDTransferRateToRPM(0, mode, 1300, rate), 496.6, 0.1) << int(mode);
    // The last block of a 4473-second disc lies at 58 mm.
    EXPECT_NEAR(CDTransferRateToRPM(335475, kReadData, 1300, 150), 1300 * 60 / (2 * kPi * 58), 0.5);
    EXPECT_NEAR(CDTransferRateToRPM(0, kReadData, 1200, 150 * 8), 8 * 1200 * 60 / (2 * kPi * 25), 0.5);
    EXPECT_GT(CDTransferRateToRPM(0, kReadData, 1400, 150), 0);
    for (double v : {1199.9, 1400.1}) {
        EXPECT_EQ(AssertionOf([v] { CDTransferRateToRPM(0, kReadData, v, 150); }),
                  "CDTransferRateToRPM: illegal LinearRotationalSpeed / BenchReadLinear")
            << v;
    }
}

// Samples of 1000 ms (or none) every 33000 blocks, each reading the blocks of its factor.
TEST_F(Analysis, TheSplitFallsWhereTheSamplesStopTurningAtOneSpeed)
{
    const auto constantRotation = [](int32_t lba) {
        return RpmOfInnerFactor(14) / CDTransferRateToRPM(lba + 1000, kReadData, 1300, 150);
    };
    struct Case {
        std::function<double(int32_t)> factor;
        int n;
        int32_t millis;
        int breakpoint;  // -1: the last sample; -2: any
        const char* text;
    } cases[] = {
        {[](int32_t) { return 8.0; }, 10, 1000, 0, "8,0x/CLV"},
        {constantRotation, 10, 1000, -1, "14,0x-32,5x/CAV"},
        {[](int32_t lba) { return 8.0 + lba / 33000; }, 4, 1000, -2, ""},
        // Rates of 0 (no time, no blocks) divide by nothing.
        {[](int32_t) { return 0.0; }, 6, 0, 0, "0,0x/CLV"},
    };
    for (const Case& c : cases) {
        auto values = std::make_unique<TBenchLinearInfo>();
        for (int i = 0; i < c.n; ++i) {
            TBenchSample& s = values->Samples[values->Count++];
            s = {i * 33000, int32_t(std::lround(c.factor(i * 33000) * 75)), kReadData, c.millis, 0, 0};
        }
        AnalyzeSamples(*values, 1300);
        EXPECT_EQ(values->ResultText, c.text);
        if (c.breakpoint >= -1) {
            EXPECT_EQ(values->Breakpoint, c.breakpoint < 0 ? c.n - 1 : c.breakpoint);
        }
        EXPECT_LT(values->ClvDeviation + values->CavDeviation, c.n < 5 ? 1 : 0.005) << c.text;
    }
}

TEST_F(Analysis, TheTextFollowsTheSplitAndTheDeviation)
{
    const long double rpm = RpmOfInnerFactor(13.3);  // 13.3x at 25 mm, 30.856x at 58 mm
    struct Case {
        int32_t n;
        int32_t breakpoint;
        long double total;
        long double meanClv;
        char separator;
        const char* text;
    } cases[] = {
        {4, 0, 0, 8, ',', ""},
        // The class needs a total deviation of at most 0.2; above it only the mean factor is given.
        {10, 0, 0.2L, 8, ',', "8x/CLV"},
        {10, 0, 0.2000001L, 8, ',', "12,3x"},
        // One decimal below 0.01; halves from 0.01 to below 0.02; whole numbers from there.
        {10, 0, 0.005L, 8.04L, ',', "8,0x/CLV"},
        {10, 0, 0.015L, 8.24L, ',', "8,0x/CLV"},
        {10, 0, 0.015L, 8.26L, ',', "8,5x/CLV"},
        {10, 0, 0.0199L, 8.24L, '.', "8.0x/CLV"},
        {10, 0, 0.02L, 8.5L, ',', "9x/CLV"},  // halves round away from zero
        {10, 0, 0.05L, 12.5L, '.', "13x/CLV"},
        {10, 0, 0.005L, 12.25L, ',', "12,3x/CLV"},
        // Breakpoints 0 and 1, or fewer than a tenth of the samples in the CAV part: CLV.
        {10, 1, 0.005L, 8, ',', "8,0x/CLV"},
        {30, 1, 0.005L, 8, ',', "8,0x/CLV"},
        {30, 2, 0.005L, 24, ',', "13,3x-24,0x/PCAV"},
        // More than nine tenths, or the last sample: CAV.
        {20, 18, 0.005L, 8, ',', "13,3x-30,9x/CAV"},
        {20, 17, 0.005L, 24, ',', "13,3x-24,0x/PCAV"},
        {5, 4, 0.005L, 8, ',', "13,3x-30,9x/CAV"},
        {20, 18, 0.015L, 8, ',', "13,5x-31,0x/CAV"},
        {20, 18, 0.05L, 8, ',', "13x-31x/CAV"},
        {20, 10, 0.05L, 23.6L, ',', "13x-24x/PCAV"},
    };
    for (const Case& c : cases) {
        platform::host::SetDecimalSeparator(c.separator);
        EXPECT_EQ(LinearResultText(c.n, c.breakpoint, c.total, 12.34L, c.meanClv, rpm, 1300), c.text)
            << c.n << " " << c.breakpoint << " " << double(c.total);
    }
}
