// kalmor measure DEV [--plot FILE.svg]: every stored speed step of the drive measured as the
// measurement window does it, with its log lines, the results stored with their parameters.
#include <cmath>
#include <cstdio>
#include <fstream>

#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/Plot.h"
#include "cli/Progress.h"
#include "platform/MainLoop.h"
#include "platform/Locale.h"
#include "platform/Time.h"
#include "platform/posix/Posix.h"
#include "settings/Language.h"
#include "settings/Store.h"

namespace cli {

namespace {

constexpr int32_t kFewestBlocks = 135000;
constexpr int32_t kEnoughBlocks = 299700;
constexpr int32_t kLinearVelocity = 1300;

// Fixed point with `decimals` decimals but no more than `significant` significant digits, in the
// user's decimal separator.
std::string Deviation(double value)
{
    char text[32];
    const int magnitude = value == 0 ? 0 : int(std::floor(std::log10(std::fabs(value)))) + 1;
    const int decimals = std::max(0, std::min(5, 5 - magnitude));
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string result = text;
    for (char& c : result)
        if (c == '.') c = platform::DecimalSeparator();
    return result;
}

std::string Parameters(const TBenchLinearInfo& v, int32_t speed, int32_t lastBlock)
{
    return "s" + std::to_string(speed) + "/q" + std::to_string(v.Density) + "/z" + std::to_string(v.SampleTime) +
           "/n" + std::to_string(v.BlocksPerRead) + "/i" + std::to_string(v.Breakpoint) + "/c" +
           std::to_string(v.Count) + "/L" + Deviation(v.ClvDeviation) + "/A" + Deviation(v.CavDeviation) + "/" +
           std::to_string(lastBlock);
}

struct Walk {
    Walk(Session& s, int d, std::string p) : session(s), drive(d), prefix(std::move(p)) {}

    Session& session;
    int drive;
    std::string prefix;
    Json lines = Json::Array();
    Json results = Json::Array();
    std::vector<PlottedStep> plotted;

    void Line(const std::string& text)
    {
        lines.Add(text);
        if (!session.Json()) Print(text + "\n");
    }

    // The disc checks before every step; false with the line that says why not.
    bool CheckDisc(TCDROM& cd, int step, int32_t& lastBlock)
    {
        std::string problem;
        if (!cd.TestUnitReady()) problem = lg_NO_DISC;
        else if (!cd.ReadTOC()) problem = lg_TOC_FAILED;
        else if (const uint8_t type = cd.GetDiscType() & 0x7F; type != dtData && type != dtAudio)
            problem = lg_NEED_AUDIO_OR_DATA;
        else if ((lastBlock = cd.ReadCapacity()) < kFewestBlocks)
            problem = lg_MIN_SECTORS_1 + std::to_string(kFewestBlocks) + lg_MIN_SECTORS_2;
        if (!problem.empty()) {
            Line(prefix + problem);
            return false;
        }
        if (step == 1 && lastBlock < kEnoughBlocks) Line(prefix + lg_MORE_SECTORS);
        return true;
    }

    // One step on the measurement thread; false when it did not give a result.
    bool Measure(TCDROM& cd, int step, int32_t speed, int32_t lastBlock)
    {
        const bool audio = (cd.GetDiscType() & 0x7F) == dtAudio;
        auto values = std::make_unique<TBenchLinearInfo>();
        TBenchList list;
        {
            TBenchListLock lock(list);
            lock.Items() = {values.get()};
            values->Drive = &cd;
            values->Density = std::max(2, 3 * speed + 2);
            values->SampleTime = 600;
            values->BlocksPerRead = 16;
            values->LinearVelocity = kLinearVelocity;
            values->SpinUp = true;
            values->TargetSpeed = speed;
        }
        platform::SleepMs(500);
        cd.SetCDSpeed(speed);
        platform::SleepMs(2000);
        cd.ReadTOC();
        cd.TestUnitReady();
        cd.SetCDSpeed(speed);
        cd.TestUnitReady();
        cd.CurrentSpeedStep();
        std::string zone = audio && !cd.DaeZoneDescription.empty() ? cd.DaeZoneDescription + " (DAE)"
                                                                   : cd.ZoneDescription;
        if (!zone.empty()) zone = " / \"" + zone + "\"";
        Line(prefix + lg_MEASURING_SPEED + std::to_string(speed) + "x" + zone);

        bool ended = false;
        Progress bar(session.DeviceName(drive) + " " + std::to_string(speed) + "x");
        auto* thread = new TBenchmarkThread(list);
        thread->OnTerminate = [&ended] { ended = true; };
        thread->SetPriority(platform::ThreadPriority::Highest);
        platform::Timer timer(100);
        timer.OnTimer = [&] {
            TBenchListLock lock(list);
            bar.Show(values->Progress);
        };
        timer.SetEnabled(true);
        platform::posix::RunLoopUntil([&ended] { return ended; });
        timer.SetEnabled(false);

        TBenchListLock lock(list);
        const TBenchLinearInfo& v = *values;
        Json result = Json::Object().Set("step", step).Set("speed", speed).Set("audio", audio);
        bool measured = false;
        if (v.Failed) Line(prefix + lg_READ_ERROR + (v.ErrorText.empty() ? "" : " (" + v.ErrorText + ")"));
        if (!v.Finished && !v.Failed) Line(prefix + lg_READ_ERROR);
        if (v.Finished && !v.Failed && v.ResultText.empty()) Line(prefix + lg_NO_EVALUATION);
        if (v.Finished && !v.Failed && !v.ResultText.empty()) {
            const std::string parameters = Parameters(v, speed, lastBlock);
            WriteMeasurement(drive, step, v.ResultText, parameters, audio);
            Line(prefix + " -> " + v.ResultText);
            result.Set("result", v.ResultText).Set("parameters", parameters);
            measured = true;
        }
        results.Add(result.Set("samples", int32_t(v.Count)));
        plotted.push_back({speed, v.ResultText, v.Breakpoint, kLinearVelocity,
                           std::vector<TBenchSample>(v.Samples.begin(), v.Samples.begin() + v.Count)});
        return measured;
    }
};

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
    TDriveSettings& d = Drives[drive];
    TCDROM& cd = *d.CDROM;
    Walk walk(session, drive, " " + d.DriveName + " :  ");
    if (DetectedSpeed(drive, 1) < 1) {
        Complain(session.DeviceName(drive) + ": no speed steps are stored; kalmor detect finds them");
        return kExitFailed;
    }
    const int32_t saved = cd.CurrentSpeedStep();
    bool discFit = true;
    bool allMeasured = true;
    for (int step = 1; discFit && DetectedSpeed(drive, step) > 0; ++step) {
        int32_t lastBlock = -1;
        discFit = walk.CheckDisc(cd, step, lastBlock);
        if (discFit) allMeasured = walk.Measure(cd, step, DetectedSpeed(drive, step), lastBlock) && allMeasured;
    }
    // A disc that does not fit leaves the speed of the last step measured, as in the
    // measurement window.
    if (discFit && saved > 0) cd.SetCDSpeed(saved);
    walk.Line(lg_EVAL_DONE);

    if (const std::optional<std::string> plot = session.options().Value("plot")) {
        if (!WritePlot(*plot, d.DriveName, walk.plotted)) {
            Complain("cannot write " + *plot);
            return kExitFile;
        }
    }
    if (session.Json())
        Print(Json::Object()
                  .Set("device", session.DeviceName(drive))
                  .Set("steps", walk.results)
                  .Set("lines", walk.lines)
                  .Dump() +
              "\n");
    return discFit && allMeasured ? kExitOk : kExitFailed;
}

}  // namespace cli
