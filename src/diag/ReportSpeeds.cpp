// Step lists, zone section and SET CD SPEED sweeps of the drive report.
#include "diag/ReportSpeeds.h"

#include <algorithm>

#include "drive/CDROM.h"
#include "transport/ScsiCodes.h"
#include "transport/Text.h"

namespace {

// SetCDSpeed refuses larger factors with a message box.
constexpr int32_t kLargestFactor = 255;
// SET CD SPEED carries 16 bits: larger requests all ask for the fastest speed.
constexpr int32_t kLargestRequest = 0xFFFF;
constexpr uint8_t kStepPages[] = {kPageToshibaSpeed, kPagePhilipsSpeed, kPageCapabilities, kPageVendorSpeed};

const char* const kDetectionNotice =
    ">>> Die Geschwindigkeitstabelle wird nun aus dem Laufwerk ausgelesen. Dies kann eine Weile dauern.";

std::string Number(int64_t value) { return std::to_string(value); }

std::string StepLine(TCDROM& drive, int n, int32_t step)
{
    std::string line = " Stufe " + Number(n) + ":         " + Number(step) + ", \"" + drive.ZoneDescription;
    if (!drive.DaeZoneDescription.empty()) line += "\"/\"" + drive.DaeZoneDescription;
    const int32_t kbps = drive.CurrentReadSpeed();
    line += "\", " + Number(kbps) + ", " + Number(kbps / 176);
    for (uint8_t page : kStepPages) line += drive.ModePageDump(page, kCurrentValues, ", ", " ");
    return line;
}

// Lists each step once, numbered from 1; factors that select a step already seen are skipped.
void StepList(TCDROM& drive, TLineList& lines, bool downward)
{
    const int32_t saved = drive.CurrentSpeedStep();
    const int32_t maximum = drive.MaxSpeedFactor();
    if (saved <= 0 || maximum <= 0) return;
    const int32_t limit = std::min(maximum * 120 / 100, kLargestFactor);
    int32_t x = downward ? limit : 1;
    int32_t last = -1;
    int n = 0;
    while (downward ? x >= 1 : x <= limit) {
        const int32_t step = drive.SetCDSpeed(x) ? drive.CurrentSpeedStep() : -1;
        if (step != -1) {
            if (step != last) {
                lines.Append(StepLine(drive, ++n, step));
                last = step;
            }
            x = downward ? std::min(step, x) : std::max(step, x);
        }
        x += downward ? -1 : 1;
    }
    drive.SetCDSpeed(std::min(saved, kLargestFactor));
}

void ZoneLists(TCDROM& drive, TLineList& lines, const std::string& label)
{
    lines.Append(label + "[" + drive.SpeedTableText() + "]");
    drive.ReadTOC();
    ReportStepLists(drive, lines);
}

// The notice stands only while the detection runs.
void Detect(TCDROM& drive, TLineList& lines, bool scanDown)
{
    const int count = lines.Count();
    lines.Append(" ");
    lines.Append(kDetectionNotice);
    lines.Append(" ");
    drive.DetectSpeedSteps(false, scanDown);
    TruncateLines(lines, count);
}

// Requests every KB/s value from top to 0 (or 0 to top) and records where the reported
// speed changes. The progress line is replaced while it runs and removed at the end.
void Sweep(TCDROM& drive, TLineList& lines, int32_t top, bool downward)
{
    const std::string progressLabel = downward ? " BBTest I ->      " : " BBTest II ->     ";
    const std::string resultLabel = downward ? " BBTest I:        " : " BBTest II:       ";
    bool found = false;
    int count = lines.Count();
    lines.Append(" ");
    lines.Append(progressLabel + "0% fertig");
    drive.SendSetCDSpeed(downward ? top : 0);
    int32_t previous = drive.CurrentReadSpeed();
    for (int32_t i = 0; i <= top; ++i) {
        const int32_t k = downward ? top - i : i;
        const std::string progress = progressLabel + Number(int64_t(i) * 100 / top) + "% fertig";
        if (lines.Line(lines.Count() - 1) != progress) lines.Replace(lines.Count() - 1, progress);
        drive.SendSetCDSpeed(k);
        const int32_t current = drive.CurrentReadSpeed();
        if (current != previous) {
            TruncateLines(lines, count);
            lines.Append(resultLabel + Number(previous) + "-" + Number(k) + "-" + Number(current) + "-" +
                         IntToHex(uint32_t(previous), 4) + "-" + IntToHex(uint32_t(k), 4) + "-" +
                         IntToHex(uint32_t(current), 4));
            count = lines.Count();
            lines.Append(" ");
            lines.Append(progressLabel + "0% fertig");
            found = true;
        }
        previous = current;
    }
    TruncateLines(lines, count);
    if (!found) lines.Append(resultLabel + "no transition");
}

// A drive whose maximum is unreadable or 0 KB/s gives no range to sweep: no sweep, no line.
void Sweeps(TCDROM& drive, TLineList& lines)
{
    const int32_t maximum = drive.MaxReadSpeed();
    if (maximum <= 0) return;
    const int32_t top = std::min(maximum * 120 / 100, kLargestRequest);
    const int32_t saved = drive.CurrentSpeedStep();
    Sweep(drive, lines, top, true);
    Sweep(drive, lines, top, false);
    // The sweeps end at the fastest speed; the drive goes back to the step it ran before.
    if (saved > 0) drive.SetCDSpeed(std::min(saved, kLargestFactor));
}

}  // namespace

void ReportStepLists(TCDROM& drive, TLineList& lines)
{
    StepList(drive, lines, true);
    StepList(drive, lines, false);
}

void ReportZones(TCDROM& drive, TLineList& lines, bool sweeps)
{
    const std::string keep = drive.SpeedTableText();
    ZoneLists(drive, lines, " Zonen:           ");
    drive.ClearSpeedTable();
    ZoneLists(drive, lines, " Zonen(clear):    ");
    Detect(drive, lines, true);
    ZoneLists(drive, lines, " Zonen(down/slow):");
    Detect(drive, lines, false);
    ZoneLists(drive, lines, " Zonen(up/slow):  ");
    // A drive that had no table gets none back, rather than the last detected one.
    if (keep.empty()) drive.ClearSpeedTable();
    else drive.LoadSpeedTable(keep);
    if (sweeps) Sweeps(drive, lines);
}
