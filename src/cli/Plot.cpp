#include "cli/Plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "cli/Svg.h"

namespace cli {

namespace {

constexpr double kWidth = 800;
constexpr double kLeft = 70, kRight = 780;
constexpr double kRateTop = 60, kRateBottom = 280, kRpmTop = 320, kRpmBottom = 540;
constexpr double kHeight = 580;
constexpr double kBlocksPerMinute = 75 * 60;
constexpr int kModelPoints = 80;
const char* const kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e", "#8c564b", "#17becf", "#7f7f7f"};

// KB/s per speed factor of the sample's block size (the analysis' 75 blocks a second).
double KBpsPerFactor(uint8_t mode) { return (mode == kReadData ? 2048 : 2352) * 0.0732421875; }

// Spindle speed per KB/s at block lba.
double RpmPerKBps(int32_t lba, uint8_t mode, int32_t velocity) { return CDTransferRateToRPM(lba, mode, velocity, 1); }

// The model of a step: constant rotation up to the breakpoint's sample, constant rate after it.
struct Model {
    bool valid = false;
    double rpm = 0;     // of the rotating part
    double factor = 0;  // of the constant-rate part
    int32_t first = 0, split = 0, last = 0;
    uint8_t mode = kReadData;
};

Model FitOf(const PlottedStep& step)
{
    Model model;
    const int n = int(step.samples.size());
    if (n < 5 || step.breakpoint < 0 || step.breakpoint >= n) return model;
    for (int i = 0; i <= step.breakpoint; ++i) model.rpm += step.samples[size_t(i)].RPM / (step.breakpoint + 1);
    for (int i = step.breakpoint; i < n; ++i) model.factor += step.samples[size_t(i)].Factor / (n - step.breakpoint);
    model.first = step.samples.front().StartLBA;
    model.split = step.samples[size_t(step.breakpoint)].StartLBA;
    model.last = step.samples.back().StartLBA + step.samples.back().Blocks;
    model.mode = step.samples.front().Mode;
    model.valid = true;
    return model;
}

// The model's factor and spindle speed at block lba.
std::pair<double, double> ModelAt(const Model& model, int32_t lba, int32_t velocity)
{
    const double rpmPerFactor = RpmPerKBps(lba, model.mode, velocity) * KBpsPerFactor(model.mode);
    if (lba <= model.split) return {model.rpm / rpmPerFactor, model.rpm};
    return {model.factor, model.factor * rpmPerFactor};
}

// A round upper end for an axis and its tick spacing.
std::pair<double, double> NiceAxis(double maximum)
{
    const double raw = std::max(maximum, 1.0) / 5;
    const double power = std::pow(10, std::floor(std::log10(raw)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (raw <= factor * power) {
            step = factor * power;
            break;
        }
    return {std::ceil(maximum / step) * step, step};
}

std::string Label(double value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

struct Panel {
    double top, bottom, maximum, tick;
    std::string unit;
    double Y(double value) const { return bottom - value / maximum * (bottom - top); }
};

void DrawAxes(Svg& svg, const Panel& panel, double minutes, double minuteTick)
{
    for (double v = 0; v <= panel.maximum + 1e-9; v += panel.tick) {
        svg.Line(kLeft, panel.Y(v), kRight, panel.Y(v), v == 0 ? "axis" : "grid");
        svg.Text(kLeft - 6, panel.Y(v) + 4, Label(v), "end");
    }
    svg.Line(kLeft, panel.top, kLeft, panel.bottom, "axis");
    for (double m = 0; m <= minutes + 1e-9; m += minuteTick) {
        const double x = kLeft + m / minutes * (kRight - kLeft);
        svg.Line(x, panel.bottom, x, panel.bottom + 4, "axis");
        svg.Text(x, panel.bottom + 16, Label(m), "middle");
    }
    svg.Text(kLeft - 50, panel.top - 8, panel.unit, "start");
}

}  // namespace

std::string MeasurementPlot(const std::string& title, const std::vector<PlottedStep>& steps)
{
    double lastBlock = 1, maxFactor = 1, maxRpm = 1;
    std::vector<Model> models;
    for (const PlottedStep& step : steps) {
        models.push_back(FitOf(step));
        for (const TBenchSample& s : step.samples) {
            lastBlock = std::max(lastBlock, double(s.StartLBA + s.Blocks));
            maxFactor = std::max(maxFactor, s.Factor);
            maxRpm = std::max(maxRpm, s.RPM);
        }
        if (!models.back().valid) continue;
        for (const int32_t lba : {models.back().first, models.back().last}) {
            maxFactor = std::max(maxFactor, ModelAt(models.back(), lba, step.linearVelocity).first);
            maxRpm = std::max(maxRpm, ModelAt(models.back(), lba, step.linearVelocity).second);
        }
    }
    const auto [minutes, minuteTick] = NiceAxis(lastBlock / kBlocksPerMinute);
    const auto [factorTop, factorTick] = NiceAxis(maxFactor * 1.05);
    const auto [rpmTop, rpmTick] = NiceAxis(maxRpm * 1.05);
    const Panel rate{kRateTop, kRateBottom, factorTop, factorTick, "rate (x)"};
    const Panel rpm{kRpmTop, kRpmBottom, rpmTop, rpmTick, "spindle (rpm)"};
    const auto x = [minutes = minutes](double lba) { return kLeft + lba / kBlocksPerMinute / minutes * (kRight - kLeft); };

    Svg svg(kWidth, kHeight);
    svg.Text(kWidth / 2, 20, title, "middle", "title");
    svg.Text(kWidth / 2, kHeight - 6, "position on the disc (min)", "middle");
    for (size_t i = 0; i < steps.size(); ++i) {
        const std::string label = std::to_string(steps[i].speed) + "x" +
                                  (steps[i].result.empty() ? "" : ": " + steps[i].result);
        svg.Open("g", {{"class", "legend"}, {"fill", kColours[i % 8]}});
        svg.Text(kLeft + double(i % 4) * 175, 40 + double(i / 4) * 14, label, "start");
        svg.Close("g");
    }
    for (const auto& [panel, id] : {std::pair{rate, "rate"}, std::pair{rpm, "rpm"}}) {
        const bool isRate = std::string(id) == "rate";
        svg.Open("g", {{"id", id}});
        DrawAxes(svg, panel, minutes, minuteTick);
        for (size_t i = 0; i < steps.size(); ++i) {
            const PlottedStep& step = steps[i];
            const char* colour = kColours[i % 8];
            svg.Open("g", {{"class", "step"}, {"data-speed", std::to_string(step.speed)}});
            for (const TBenchSample& s : step.samples)
                svg.Circle(x(s.StartLBA + s.Blocks / 2.0), panel.Y(isRate ? s.Factor : s.RPM), 1.8, colour);
            if (models[i].valid) {
                std::vector<std::pair<double, double>> line;
                const Model& model = models[i];
                for (int k = 0; k <= kModelPoints; ++k) {
                    const int32_t lba = model.first + int32_t(int64_t(model.last - model.first) * k / kModelPoints);
                    const auto [factor, spindle] = ModelAt(model, lba, step.linearVelocity);
                    line.emplace_back(x(lba), panel.Y(isRate ? factor : spindle));
                }
                svg.Polyline(line, "model", colour);
            }
            svg.Close("g");
        }
        svg.Close("g");
    }
    return svg.Finish();
}

}  // namespace cli
