// kalmor measure DEV [--plot FILE.svg]: every stored speed step of the drive measured by the
// measurement window's walk, its log lines printed as they come, the results stored as the
// window stores them.
#include <fstream>

#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/Plot.h"
#include "cli/Progress.h"
#include "measure/EvaluateSpeeds.h"
#include "platform/posix/Posix.h"
#include "settings/Language.h"
#include "settings/Store.h"

namespace cli {

namespace {

bool WritePlot(const std::string& fileName, const std::string& title, const std::vector<PlottedStep>& steps)
{
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out << platform::posix::Utf8FromCp1252(MeasurementPlot(title, steps));
    out.close();
    return bool(out);
}

}  // namespace

int MeasureCommand(Session& session, int drive)
{
    session.Detect(drive, false);
    if (DetectedSpeed(drive, 1) < 1) {
        Complain(session.DeviceName(drive) + ": no speed steps are stored; kalmor detect finds them");
        return kExitFailed;
    }
    // The window walks every drive from the first; this one only, until it turns to the next.
    TFormEval window;
    window.DriveIndex = drive;
    Progress bar(session.DeviceName(drive));
    Json lines = Json::Array(), results = Json::Array();
    std::vector<PlottedStep> plotted;
    bool allMeasured = true;
    size_t shown = 0;
    bool wasMeasuring = false;
    const auto follow = [&] {
        for (; shown < window.Memo.Lines.size(); ++shown) {
            const std::string& line = window.Memo.Lines[shown];
            if (line == " ") continue;  // the blank line that ends a drive
            lines.Add(line);
            if (!session.Json()) Print(line + "\n");
        }
        if (window.Measuring) bar.Show(window.ProgressBar.Position, session.DeviceName(drive) + " " +
                                                                        std::to_string(window.StepSpeed) + "x");
        if (wasMeasuring && !window.Measuring) {
            TBenchListLock lock(window.BenchList);
            const TBenchLinearInfo& v = *window.BenchValues;
            const bool measured = v.Finished && !v.Failed && !v.ResultText.empty();
            allMeasured = allMeasured && measured;
            results.Add(Json::Object()
                            .Set("step", window.StepIndex)
                            .Set("speed", window.StepSpeed)
                            .Set("audio", window.AudioDisc)
                            .Set("result", measured ? Json(v.ResultText) : Json())
                            .Set("samples", int32_t(v.Count)));
            plotted.push_back({window.StepSpeed, v.ResultText, v.Breakpoint, v.LinearVelocity,
                               std::vector<TBenchSample>(v.Samples.begin(), v.Samples.begin() + v.Count)});
        }
        wasMeasuring = window.Measuring;
        return window.DriveIndex != drive;
    };
    platform::posix::RunLoopUntil(follow);
    // Steps that ran out end the walk with the speed set back; a disc that does not fit ends it early.
    const bool discFit = window.StepSpeed == -1;
    lines.Add(lg_EVAL_DONE);
    if (!session.Json()) Print(lg_EVAL_DONE + "\n");

    if (const std::optional<std::string> plot = session.options().Value("plot")) {
        if (!WritePlot(*plot, Drives[drive].DriveName, plotted)) {
            Complain("cannot write " + *plot);
            return kExitFile;
        }
    }
    if (session.Json())
        Print(Json::Object()
                  .Set("device", session.DeviceName(drive))
                  .Set("steps", results)
                  .Set("lines", lines)
                  .Dump() +
              "\n");
    return discFit && allMeasured ? kExitOk : kExitFailed;
}

}  // namespace cli
