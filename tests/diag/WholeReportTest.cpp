// The whole report of the default emulated system, after a start-up as the program makes it,
// line by line against a reviewed text (default-report.txt). Date, time and the detection's
// durations in the cache are masked: they follow the emulated timing, not the report.
// A mismatch leaves the report built as default-report.actual.txt in the test's temporary folder.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "diag/DriveReport.h"
#include "emu/Emulator.h"
#include "emu/Scenario.h"
#include "platform/Registry.h"
#include "platform/host/Host.h"
#include "platform/host/HostSystemInfo.h"
#include "settings/Store.h"
#include "transport/AspiManager.h"

using platform::RegRoot;
namespace host = platform::host;

namespace {

const char* const kDateLine = " Datum, Uhrzeit:  ";

std::vector<uint8_t> Text(const std::string& text) { return {text.begin(), text.end()}; }

// Windows NT 4.0 with an ATAPI miniport, a sound exclusion list and our ASPI manager's
// version resource.
void PrepareSystem()
{
    host::SetOsVersion(platform::OsVersionRecord{4, 0, 1381, "Service Pack 6"});
    platform::CreateKey(RegRoot::LocalMachine, "HARDWARE\\RESOURCEMAP\\ScsiAdapter\\atapi");
    platform::CreateKey(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters")
        .writeString("ExcludeMiniports", "FASTCDMP");
    host::SetFileVersionValues("C:\\windows\\system32\\WNASPI32.DLL", {
        {"\\", host::FixedFileInfo(1, 0, 0, 1)},
        {"\\VarFileInfo\\Translation", {0x09, 0x04, 0xE4, 0x04}},
        {"\\StringFileInfo\\040904E4\\CompanyName", Text("Brannwick")},
        {"\\StringFileInfo\\040904E4\\FileDescription", Text("Emulated ASPI manager for Win32")},
    });
}

std::string Masked(const std::string& line)
{
    static const std::regex timing("( DateTime| [DT]-Ticks) = .*");
    if (line.rfind(kDateLine, 0) == 0) return std::string(kDateLine) + "<date>, <time>";
    return std::regex_replace(line, timing, "$1 = <masked>");
}

}  // namespace

TEST(WholeReport, DefaultSystemMatchesTheReviewedText)
{
    host::Reset();
    UnloadASPI32();
    PrepareSystem();
    auto manager = emu::DefaultScenario();
    emu::InstallNative(manager);
    ASSERT_TRUE(InitASPI32());
    CheckVersionStamp(false);
    BuildDriveList();
    for (int i = 0; i < numDrives; ++i) DetectSpeeds(i, false);

    TStringLineList report;
    BuildDebugReport(report, false);
    std::vector<std::string> actual, expected;
    for (const std::string& line : report.Lines()) actual.push_back(Masked(line));
    std::ifstream in(KALMOR_TEST_DATA_DIR "/default-report.txt", std::ios::binary);
    for (std::string line; std::getline(in, line);) expected.push_back(Masked(line));

    for (size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(actual.size(), expected.size());
    if (actual != expected) {
        std::ofstream out(::testing::TempDir() + "default-report.actual.txt", std::ios::binary);
        for (const std::string& line : actual) out << line << "\n";
    }

    FreeDriveList();
    UnloadASPI32();
    emu::UninstallNative();
    host::Reset();
}
