#pragma once
// The plot of kalmor measure --plot: transfer rate and spindle speed of every measured step
// across the disc, with the constant-rotation / constant-rate model the analysis fitted.
#include <string>
#include <vector>

#include "measure/BenchReadLinear.h"

namespace cli {

struct PlottedStep {
    int32_t speed = 0;       // the step's factor
    std::string result;      // the analysis' result text, empty without one
    int32_t breakpoint = -1;
    int32_t linearVelocity = 1300;
    std::vector<TBenchSample> samples;  // with Factor and RPM filled by the analysis
};

// An SVG document: two panels over the block address, the rate (x) above and the spindle speed
// (rpm) below; per step its samples as points, the fitted model as a dashed line, a legend.
std::string MeasurementPlot(const std::string& title, const std::vector<PlottedStep>& steps);

}  // namespace cli
