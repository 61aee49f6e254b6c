// The drive block of the report: timers, capabilities, probes, disc, TOC and test reads.
#include <algorithm>
#include <vector>

#include "diag/DriveReport.h"
#include "diag/ReportSpeeds.h"
#include "diag/ReportText.h"
#include "drive/CDROM.h"
#include "transport/ModeParameterList.h"
#include "transport/ScsiCodes.h"
#include "transport/Text.h"

namespace {

constexpr uint32_t kTestSectors = 16;
constexpr uint32_t kTestBufferSize = kTestSectors * 2352;
// Track numbers a TOC can hold; a drive that reports others gets no lines for them.
constexpr int kFirstTrackNumber = 1;
constexpr int kLastTrackNumber = 99;

std::string Number(int64_t value) { return std::to_string(value); }

void ReportTimers(TCDROM& drive, TLineList& lines)
{
    lines.Append(" Inactivity:      " + TCDROM::InactivityName(drive.GetInactivity(false)) + " / " +
                 TCDROM::InactivityName(drive.GetInactivity(true)) + " / " + Number(drive.GetInactivityMask()));
    lines.Append(" Standby Timer:   " + Number(drive.GetStandby(false)) + " s / " + Number(drive.GetStandby(true)) +
                 " s / " + Number(drive.GetStandbyLimit()) + " s");
    lines.Append(" Idle Timer:      " + Number(drive.GetIdle(false)) + " s / " + Number(drive.GetIdle(true)) +
                 " s / " + Number(drive.GetIdleLimit()) + " s");
}

void ReportCapabilities(TCDROM& drive, TLineList& lines)
{
    TModeParameterList caps;
    if (drive.ModeSense(kPageCapabilities, caps, kCurrentValues)) {
        lines.Append(" Buffer:          " + Number(drive.BufferSizeKB) + " KB");
        lines.Append(" C2Pointers:      " + YesNo(drive.C2Pointers));
        lines.Append(" CD-DA:           " + YesNo(drive.CddaCommands));
        lines.Append(" DAAccu:          " + YesNo(drive.CddaStreamAccurate));
    }
    lines.Append(" C2Supported:     " + YesNo(drive.C2Supported));
    lines.Append(" RealTimeStream.: " + YesNo(drive.RealTimeStreamingFeature()));
    lines.Append(" GetPerformance:  " + YesNo(drive.PerformanceProbe()));
    uint8_t mastering[8] = {};
    std::string masteringText = "nein";
    if (drive.CdMasteringFeature(mastering)) {
        masteringText.clear();
        for (uint8_t b : mastering) masteringText += IntToHex(b, 2) + " ";
    }
    lines.Append(" CD Mastering:    " + masteringText);
}

// One line per track with 16 sectors from its middle on.
void ReportReadTests(TCDROM& drive, TLineList& lines, int first, int last)
{
    std::vector<uint8_t> a(kTestBufferSize);
    std::vector<uint8_t> b(kTestBufferSize);
    const std::string mode = drive.IsXaDisc() ? "2" : "1";
    for (int t = first; t <= last; ++t) {
        const int64_t start = drive.TrackStart(t);
        const int64_t end = drive.TrackEnd(t);
        const int64_t mid = (start + end) / 2;
        if (mid < start || mid + int64_t(kTestSectors) - 1 > end || mid < 0) continue;
        // Appended in place: a literal plus a temporary trips a false -Wrestrict of GCC 12.
        std::string at = "(";
        at += Number(mid) + "," + Number(kTestSectors) + "): ";
        std::string line = TrackNumberText(t);
        if (drive.IsAudioTrack(t)) {
            line += "/Audio -> ReadCDDA" + at + OkFailed(drive.ReadAudio(uint32_t(mid), kTestSectors, a.data(), kTestBufferSize));
        } else {
            std::fill(a.begin(), a.end(), 1);
            line += "/Daten -> ReadMODE" + mode + at +
                    OkFailed(drive.ReadData(uint32_t(mid), kTestSectors, a.data(), kTestBufferSize));
            std::fill(b.begin(), b.end(), 2);
            const bool raw = drive.ReadRaw(uint32_t(mid), kTestSectors, b.data(), kTestBufferSize);
            line += " / ReadMODE" + mode + "_RAW" + at + OkFailed(raw);
            if (!raw && a == b) line += " (es wurden nur User-Daten übertragen)";
        }
        int32_t state = 0;
        int32_t lba = 0;
        if (drive.MechanismStatus(state, lba)) line += " Status=(" + Number(lba) + "/" + Number(state) + ")";
        lines.Append(line);
    }
}

void ReportToc(TCDROM& drive, TLineList& lines)
{
    if (!drive.ReadTOC()) {
        lines.Append(" Das Inhaltsverzeichnis konnte nicht gelesen werden!");
        return;
    }
    const int first = std::max<int>(drive.FirstTrack(), kFirstTrackNumber);
    const int last = std::min<int>(drive.LastTrack(), kLastTrackNumber);
    lines.Append(drive.IsXaDisc() ? " TOC (XA):" : " TOC:");
    for (int t = first; t <= last; ++t) {
        lines.Append(TrackNumberText(t) + (drive.IsAudioTrack(t) ? "/Audio : " : "/Daten : ") +
                     Number(drive.TrackStart(t)) + " - " + Number(drive.TrackEnd(t)));
    }
    lines.Append(" ");
    lines.Append(" " + drive.DiscIdentity(0));
    lines.Append(" ");
    lines.Append(" Lesen:");
    ReportReadTests(drive, lines, first, last);
}

void ReportDisc(TCDROM& drive, TLineList& lines)
{
    if (!drive.TestUnitReady()) {
        lines.Append(" TestUnitReady:   false");
        return;
    }
    lines.Append(" TestUnitReady:   true");
    lines.Append(" ");
    // One READ CAPACITY gives both the last address and the reply bytes.
    const std::string capacity = drive.ReadCapacityText();
    const int32_t lastLba = capacity == "[ERROR]" ? -1 : int32_t(HexNumber(capacity.substr(0, 8)));
    lines.Append(" Es ist eine CD im Laufwerk (0 - " + Number(lastLba) + " / " + capacity + ")");
    lines.Append(" ");
    ReportToc(drive, lines);
    lines.Append(" ");
}

std::string SpeedText(TCDROM& drive) { return Number(drive.CurrentSpeedStep()) + "x"; }

}  // namespace

void ReportDrive(TCDROM& drive, TLineList& lines, bool sweeps)
{
    lines.Append(" Treiber:         " + drive.FamilyName() + "/" + drive.ModelName());
    ReportTimers(drive, lines);
    ReportCapabilities(drive, lines);
    ReportDisc(drive, lines);
    drive.TestUnitReady();
    drive.ForgetSpeedInfo();
    lines.Append(" max. Geschw.:    " + Number(drive.MaxSpeedFactor()) + "x");
    lines.Append(" aktuelle G. :    " + SpeedText(drive));
    if (drive.FamilyName() == "MMC") {
        ReportZones(drive, lines, sweeps);
    } else {
        drive.ReadTOC();
        ReportStepLists(drive, lines);
    }
    lines.Append(" aktuelle G. :    " + SpeedText(drive));
    drive.RestoreDataMode();
}
