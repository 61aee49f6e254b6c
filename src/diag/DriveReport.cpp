// The report as a whole, its system block and the identity block of every target.
#include "diag/DriveReport.h"

#include "diag/AspiConfig.h"
#include "diag/ReportText.h"
#include "diag/SystemInfo.h"
#include "platform/System.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"
#include "transport/AspiManager.h"
#include "transport/SgIoManager.h"
#include "transport/Target.h"
#include "transport/Text.h"

namespace {

using platform::RegRoot;

const std::string kRule = " " + std::string(58, '-');
constexpr uint8_t kTargetIds = 8;
constexpr size_t kAdapterLabelWidth = 18;

struct PageControl {
    uint8_t code;
    const char* header;
};
constexpr PageControl kPageControls[] = {
    {0, " [current]"},
    {2, " [default]"},
    {1, " [changeable]"},
    {3, " [saved]"},
};
constexpr uint8_t kLastPageCode = 0x3F;

struct DumpedKey {
    RegRoot root;
    const char* path;
};
const DumpedKey kDumpedKeys[] = {
    {RegRoot::LocalMachine, regnames::kProductKey},
    {RegRoot::CurrentUser, regnames::kProductKey},
    {RegRoot::LocalMachine, "Enum\\SCSI"},
    {RegRoot::LocalMachine, "System\\CurrentControlSet\\Services\\VxD\\APIX"},
    {RegRoot::LocalMachine, "HARDWARE\\DEVICEMAP\\Scsi"},
    {RegRoot::LocalMachine, "HARDWARE\\RESOURCEMAP\\ScsiAdapter"},
    {RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters"},
    {RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\IDE"},
};

const char* const kAudioFsDriver = "audiofs.vxd";

void ReportAspiManager(TLineList& lines)
{
    const std::string& dll = ASPIDLLPath();
    if (ASPIPassThrough())
        lines.Append(" ASPI-Manager:    SCSI-Pass-Through (SPTI)");
    else if (CurrentSgIoManager())
        lines.Append(" ASPI-Manager:    SCSI-Generic (SG_IO)");
    else
        lines.Append(" ASPI-Manager:    " + VersionInformation(dll, 1) + " " + VersionInformation(dll, 0) + " / " +
                     VersionInformation(dll, 2));
    bool active = false;
    if (!DriverFilePath(kAudioFsDriver).empty() && AudioFSState(active))
        lines.Append(std::string(" AudioFS:         ") + (active ? "aktiv" : "nicht aktiv"));
}

// The exclusion setting by the kind of Windows.
void ReportAspiParameters(TLineList& lines, uint8_t os)
{
    if (os == kOsWindowsNt4) lines.Append(" Hostadapter:     " + LoadedMiniports());
    if (os == kOsWindowsNt4 || os == kOsWindows2000Build2072) {
        if (!ExclusionListExists()) {
            lines.Append(" ASPI-Parameter:  nein");
            return;
        }
        lines.Append(" ASPI-Parameter:  ja");
        lines.Append(" verborgene HA:   " + ExclusionList());
    } else if (os < kOsWindowsNt4) {
        if (!Win9xExclusionListExists()) {
            lines.Append(" ASPI-Parameter:  nein");
            return;
        }
        const std::string list = Win9xExclusionList();
        lines.Append(" ASPI-Parameter:  ja");
        lines.Append(" verborgene HA:   " + (list.empty() ? std::string("nein") : list));
    }
}

void ReportHostAdapters(TLineList& lines)
{
    for (uint8_t ha = 0; ha < HostAdaptorCount(); ++ha) {
        std::string label = " [" + HostAdaptorName(ha) + "]";
        if (label.size() < kAdapterLabelWidth) label.resize(kAdapterLabelWidth, ' ');
        lines.Append(label + HostAdaptorInfo(ha));
    }
}

bool SameAddress(const TTarget& a, const TTarget& b)
{
    return a.HaId() == b.HaId() && a.TargetId() == b.TargetId() && a.Lun() == b.Lun();
}

// Returns the number of drive blocks written.
int ReportTargets(TLineList& lines, bool sweeps)
{
    int reported = 0;
    for (uint8_t ha = 0; ha < HostAdaptorCount(); ++ha) {
        for (uint8_t id = 0; id < kTargetIds; ++id) {
            TTarget target(ha, id, 0, 0);
            if (!target.Initialised()) continue;
            ReportTarget(target, lines);
            for (int i = 0; i < numDrives; ++i) {
                if (!Drives[i].CDROM || !SameAddress(*Drives[i].CDROM, target)) continue;
                ++reported;
                ReportDrive(*Drives[i].CDROM, lines, sweeps);
            }
            lines.Append(" ");
        }
    }
    return reported;
}

}  // namespace

void BuildDebugReport(TLineList& lines, bool sweeps)
{
    lines.Append(kRule);
    lines.Append(" Kalmor_Version:    1.02");
    lines.Append(" DriveReport_Version: 1.02");
    lines.Append(kRule);
    lines.Append(" ");
    ReportHeader(lines);
    lines.Append(" ");
    ReportHostAdapters(lines);
    lines.Append(" ");
    if (ReportTargets(lines, sweeps) != numDrives) {
        lines.Append(" numCDROMs <> numDrives");
        for (int i = 0; i < numDrives; ++i) {
            lines.Append(" Drive[" + std::to_string(i) + "]");
            lines.Append(" ");
            if (Drives[i].CDROM) ReportDrive(*Drives[i].CDROM, lines, sweeps);
        }
    }
    lines.Append(" ");
    for (const DumpedKey& key : kDumpedKeys) RegistryDump(key.root, key.path, lines);
    lines.Append(" ");
}

void ReportHeader(TLineList& lines)
{
    lines.Append(" Datum, Uhrzeit:  " + platform::DateText() + ", " + platform::TimeText());
    lines.Append(" Targets:         1.00");
    lines.Append(" CDROMTargets:    1.02+Memorex482E+EPO-CR840S+Nec502+CDD3600+CD4831E+SR8584A+CDS400/1+AOpen_48x+"
                 "CDS400A/2+HP8200+CD540E");
    const std::string os = OsVersionText();
    lines.Append(" Betriebssystem:  " + os);
    ReportAspiManager(lines);
    ReportAspiParameters(lines, OsCode(os));
}

void ReportTarget(TTarget& target, TLineList& lines)
{
    target.TestUnitReady();
    const std::string vendorSpecific = target.VendorSpecific();
    std::string hex;
    for (unsigned char c : vendorSpecific) hex += IntToHex(c, 2) + " ";
    lines.Append(" Hersteller:      \"" + target.Vendor() + "\"");
    lines.Append(" Laufwerk:        \"" + target.Product() + "\"");
    lines.Append(" Firmware:        \"" + target.Revision() + "\"");
    lines.Append(" Firmware2:       \"" + vendorSpecific + "\"");
    lines.Append(" Firmware2:       " + hex);
    lines.Append(" HA:ID:LUN:       " + std::to_string(target.HaId()) + ":" + std::to_string(target.TargetId()) + ":" +
                 std::to_string(target.Lun()));
    lines.Append(" Hostadapter:     " + target.HostAdaptorName());
    lines.Append(" HostadapterInfo: " + target.HostAdaptorInfo());
    lines.Append(" Sense Errors:    " + target.SenseStatistics());
    for (const PageControl& control : kPageControls) {
        lines.Append(control.header);
        for (uint8_t code = 0; code <= kLastPageCode; ++code) {
            const std::string dump = target.ModePageDump(code, control.code, "", " ");
            if (dump.empty()) continue;
            // Appended in place: a literal plus a temporary trips a false -Wrestrict of GCC 12.
            std::string line = " ";
            line += IntToHex(code, 2) + " -> " + dump;
            lines.Append(line);
        }
    }
    lines.Append(" Sense Errors:    " + target.SenseStatistics());
}
