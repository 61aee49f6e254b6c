// The system block of the report by the kind of Windows, and drives the target scan misses.
#include <algorithm>

#include "diag/DriveReport.h"
#include "emu/DriveBuilder.h"
#include "platform/Registry.h"
#include "platform/host/Host.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostSystem.h"
#include "platform/host/HostSystemInfo.h"
#include "settings/Store.h"
#include "support/AspiFixture.h"

using platform::RegRoot;
namespace host = platform::host;

namespace {

const char* const kAspiDll = "C:\\windows\\system32\\WNASPI32.DLL";

std::vector<uint8_t> Text(const std::string& text)
{
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

class ReportHeaderTest : public AspiFixture {
protected:
    std::vector<std::string> Header()
    {
        TStringLineList lines;
        ReportHeader(lines);
        return lines.Lines();
    }
};

}  // namespace

TEST_F(ReportHeaderTest, VersionsAndAudioFs)
{
    host::SetDateTimeText("24.12.1999", "18:30:05");
    host::SetOsVersion(platform::OsVersionRecord{6, 1, 7601, "Service Pack 1"});
    host::SetFileVersionValues(kAspiDll, {
        {"\\", host::FixedFileInfo(4, 60, 0, 1021)},
        {"\\VarFileInfo\\Translation", {0x09, 0x04, 0xE4, 0x04}},
        {"\\StringFileInfo\\040904E4\\CompanyName", Text("Adaptec")},
        {"\\StringFileInfo\\040904E4\\FileDescription", Text("ASPI for WIN32")},
    });
    EXPECT_EQ(Header(), (std::vector<std::string>{
                            " Datum, Uhrzeit:  24.12.1999, 18:30:05",
                            " Targets:         1.00",
                            " CDROMTargets:    1.02+Memorex482E+EPO-CR840S+Nec502+CDD3600+CD4831E+SR8584A+CDS400/1+"
                            "AOpen_48x+CDS400A/2+HP8200+CD540E",
                            " Betriebssystem:  6.1.7601Service Pack 1",
                            " ASPI-Manager:    Adaptec 4.60.0 (1021) / ASPI for WIN32",
                        }));

    const char* audioFs = "System\\CurrentControlSet\\Services\\VxD\\AudioFS";
    struct Row {
        bool file;
        std::vector<uint8_t> value;  // empty: none
        const char* line;            // empty: no AudioFS line
    } rows[] = {
        {true, {0, 0, 0, 0}, " AudioFS:         aktiv"},
        {true, {1, 0, 0, 0}, " AudioFS:         nicht aktiv"},
        {false, {0, 0, 0, 0}, ""},
        {true, {}, ""},
    };
    for (const Row& row : rows) {
        host::ClearRegistry();
        host::ResetSystemInfo();
        host::SetOsVersion(platform::OsVersionRecord{6, 1, 7601, ""});
        if (row.file) host::AddFile("C:\\windows\\system32\\Iosubsys\\audiofs.vxd");
        if (!row.value.empty()) host::SetRawValue(RegRoot::LocalMachine, audioFs, "0", host::kRegBinary, row.value);
        const auto lines = Header();
        EXPECT_EQ(lines[4], " ASPI-Manager:      / ");
        EXPECT_EQ(lines.size() > 5 ? lines[5] : "", row.line);
    }
}

TEST_F(ReportHeaderTest, AspiSettingByKindOfWindows)
{
    const char* nt = "SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters";
    const char* win9x = "System\\CurrentControlSet\\Services\\VxD\\APIX";
    struct Row {
        platform::OsVersionRecord os;
        const char* key;    // where an ExcludeMiniports value is stored; null: none
        const char* value;
        std::vector<std::string> lines;
    } rows[] = {
        {{4, 0, 1381, "Service Pack 6"}, nt, "FASTCDMP",
         {" Hostadapter:     aic78xx;atapi", " ASPI-Parameter:  ja", " verborgene HA:   FASTCDMP"}},
        {{4, 0, 1381, ""}, win9x, "FASTCDMP", {" Hostadapter:     aic78xx;atapi", " ASPI-Parameter:  nein"}},
        {{5, 0, 2072, ""}, nt, "", {" ASPI-Parameter:  ja", " verborgene HA:   "}},
        {{5, 0, 2128, ""}, nt, "ATAPI", {}},
        {{5, 0, 2195, "Service Pack 4"}, nt, "ATAPI", {}},
        {{4, 10, 2222, " A"}, win9x, "", {" ASPI-Parameter:  ja", " verborgene HA:   nein"}},
        {{4, 10, 1998, ""}, win9x, "ESDI_506", {" ASPI-Parameter:  ja", " verborgene HA:   ESDI_506"}},
        {{4, 0, 950, ""}, nt, "ATAPI", {" ASPI-Parameter:  nein"}},
    };
    for (const Row& row : rows) {
        host::ClearRegistry();
        host::SetOsVersion(row.os);
        platform::CreateKey(RegRoot::LocalMachine, "HARDWARE\\RESOURCEMAP\\ScsiAdapter\\atapi");
        platform::CreateKey(RegRoot::LocalMachine, "HARDWARE\\RESOURCEMAP\\ScsiAdapter\\aic78xx");
        host::SetRawValue(RegRoot::LocalMachine, row.key, "ExcludeMiniports", host::kRegSz, Text(row.value));
        const auto lines = Header();
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.end()), row.lines) << lines[3];
    }
}

class MissedDriveTest : public AspiFixture {
protected:
    void BuildSystem(emu::Manager& manager) override
    {
        manager.addHostAdapter("EMU_HA");
        // LUN 1 is configured but the scan asks LUN 0 only.
        manager.attach(0, 0, 1, emu::MakeCdromDrive("EMULATED", "CD-ROM LUN 1", "1.00"));
    }
    void TearDown() override
    {
        FreeDriveList();
        AspiFixture::TearDown();
    }
};

TEST_F(MissedDriveTest, DrivesTheScanMissedAreReportedAgain)
{
    Drives[0].CDROM = std::make_unique<TCDROM>(0, 0, 1);
    ASSERT_TRUE(Drives[0].CDROM->Exists);
    numDrives = 1;
    TStringLineList lines;
    BuildDebugReport(lines, false);
    const auto& all = lines.Lines();
    const auto at = std::find(all.begin(), all.end(), " numCDROMs <> numDrives");
    ASSERT_NE(at, all.end());
    EXPECT_EQ(std::vector<std::string>(at + 1, at + 4),
              (std::vector<std::string>{" Drive[0]", " ", " Treiber:         CDDA12/GENERIC"}));
    EXPECT_EQ(std::count(all.begin(), all.end(), " Hersteller:      \"EMULATED\""), 0);
}
