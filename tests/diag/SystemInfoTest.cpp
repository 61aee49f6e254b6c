// Operating-system version and code, version resources, driver files, AudioFS and the registry dump.
#include <gtest/gtest.h>

#include <cstdio>

#include "diag/SystemInfo.h"
#include "platform/host/Host.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostSystemInfo.h"

using platform::RegRoot;
namespace host = platform::host;

namespace {

class SystemInfoTest : public ::testing::Test {
protected:
    void SetUp() override { host::Reset(); }
    void TearDown() override { host::Reset(); }
};

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

struct OsRow {
    uint32_t major, minor, build;
    const char* servicePack;
    const char* text;
    uint8_t code;
};

}  // namespace

TEST_F(SystemInfoTest, VersionTextAndCodeFollowTheBuildTable)
{
    const OsRow rows[] = {
        {4, 0, 950, "", "4.0.950", 0},
        {4, 0, 1111, " B", "4.0.1111 B", 1},
        {4, 0, 1212, " C", "4.0.1212 C", 2},
        {4, 10, 1998, "", "4.10.1998", 3},
        {4, 10, 1691, "", "4.10.1691", 3},
        // Windows 98 keeps major and minor in the high word of the build number.
        {4, 10, 0x040A08AE, " A", "4.10.2222 A", 4},
        {4, 0, 1381, "Service Pack 6", "4.0.1381Service Pack 6", kOsWindowsNt4},
        {5, 0, 2072, "", "5.0.2072", kOsWindows2000Build2072},
        {5, 0, 2128, "", "5.0.2128", kOsWindows2000Build2128},
        {5, 0, 2195, "Service Pack 4", "5.0.2195Service Pack 4", kOsOther},
        {6, 1, 7601, "Service Pack 1", "6.1.7601Service Pack 1", kOsOther},
        // The first row of the table that occurs wins, wherever it stands.
        {4, 0, 1212, " 4.0.1381", "4.0.1212 4.0.1381", 2},
    };
    for (const OsRow& row : rows) {
        host::SetOsVersion(platform::OsVersionRecord{row.major, row.minor, row.build, row.servicePack});
        EXPECT_EQ(OsVersionText(), row.text);
        EXPECT_EQ(OsCode(), row.code) << row.text;
    }
    host::SetOsVersion(std::nullopt);
    EXPECT_EQ(OsVersionText(), "");
    EXPECT_EQ(OsCode(), kOsOther);
}

TEST_F(SystemInfoTest, VersionInformationReadsTheFirstTranslation)
{
    const std::string dll = "C:\\windows\\system32\\WNASPI32.DLL";
    host::SetFileVersionValues(dll, {
        {"\\", host::FixedFileInfo(4, 57, 0, 1005)},
        {"\\VarFileInfo\\Translation", {0x07, 0x04, 0xE4, 0x04, 0x09, 0x04, 0xB0, 0x04}},
        {"\\StringFileInfo\\040704E4\\CompanyName", Bytes(std::string("Adaptec\0old", 11))},
        {"\\StringFileInfo\\040704E4\\FileDescription", Bytes("ASPI for WIN32 (NT)")},
        {"\\StringFileInfo\\040904B0\\ProductName", Bytes("not the first translation")},
    });
    EXPECT_EQ(FileVersionText("c:\\WINDOWS\\system32\\wnaspi32.dll"), "4.57.0 (1005)");
    EXPECT_EQ(VersionInformation(dll, 0), "4.57.0 (1005)");
    EXPECT_EQ(VersionInformation(dll, 1), "Adaptec");
    EXPECT_EQ(VersionInformation(dll, 2), "ASPI for WIN32 (NT)");
    EXPECT_EQ(VersionInformation(dll, 7), "");
    EXPECT_EQ(VersionInformation(dll, 9), "");
    EXPECT_EQ(VersionInformation(dll, -1), "");
    EXPECT_EQ(HexWord(0x4E4), "04E4");

    // Without a resource, or with a fixed part too short to hold the version, everything is empty.
    EXPECT_EQ(VersionInformation("C:\\other.dll", 0), "");
    EXPECT_EQ(VersionInformation("C:\\other.dll", 1), "");
    host::SetFileVersionValues(dll, {{"\\", std::vector<uint8_t>(12, 0)}});
    EXPECT_EQ(FileVersionText(dll), "");
    EXPECT_EQ(VersionInformation(dll, 1), "");
}

TEST_F(SystemInfoTest, DriverFileIsLookedForBelowTheSystemDirectory)
{
    struct Row {
        std::string systemDirectory;
        std::string existing;
        std::string expected;
    } rows[] = {
        {"C:\\WINDOWS\\SYSTEM", "C:\\windows\\system\\IOSUBSYS\\audiofs.vxd", "C:\\WINDOWS\\SYSTEM\\Iosubsys\\audiofs.vxd"},
        {"C:\\", "C:\\Iosubsys\\audiofs.vxd", "C:\\Iosubsys\\audiofs.vxd"},
        {"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\audiofs.vxd", ""},
        {std::string(254, 'D'), std::string(254, 'D') + "\\Iosubsys\\audiofs.vxd", std::string(254, 'D') + "\\Iosubsys\\audiofs.vxd"},
        {std::string(255, 'D'), std::string(255, 'D') + "\\Iosubsys\\audiofs.vxd", ""},
    };
    for (const Row& row : rows) {
        host::Reset();
        host::SetSystemDirectory(row.systemDirectory);
        host::AddFile(row.existing);
        EXPECT_EQ(DriverFilePath("audiofs.vxd"), row.expected) << row.systemDirectory;
    }
}

TEST_F(SystemInfoTest, AudioFsStateNeedsFourBinaryBytes)
{
    const char* key = "System\\CurrentControlSet\\Services\\VxD\\AudioFS";
    struct Row {
        uint32_t type;
        std::vector<uint8_t> data;
        bool found;
        bool active;
    } rows[] = {
        {host::kRegBinary, {0, 0, 0, 0}, true, true},
        {host::kRegBinary, {1, 0, 0, 0}, true, false},
        {host::kRegBinary, {0, 0, 0, 1}, true, false},
        {host::kRegBinary, {0, 0, 0}, false, false},
        {host::kRegBinary, {0, 0, 0, 0, 0}, false, false},
        {host::kRegDword, {0, 0, 0, 0}, false, false},
    };
    for (const Row& row : rows) {
        host::ClearRegistry();
        host::SetRawValue(RegRoot::LocalMachine, key, "0", row.type, row.data);
        bool active = false;
        EXPECT_EQ(AudioFSState(active), row.found);
        EXPECT_EQ(active, row.active);
    }
    host::ClearRegistry();
    bool active = true;
    EXPECT_FALSE(AudioFSState(active));
}

TEST_F(SystemInfoTest, RegistryDumpListsValuesBeforeSubkeys)
{
    const std::string key = "\\SOFTWARE\\Test";
    std::vector<uint8_t> long81(81);
    for (size_t i = 0; i < long81.size(); ++i) long81[i] = uint8_t(i);
    host::SetRawValue(RegRoot::LocalMachine, key, "Text", host::kRegSz, Bytes("a \"b\""));
    host::SetRawValue(RegRoot::LocalMachine, key, "Count", host::kRegDword, {0xFE, 0xFF, 0xFF, 0xFF});
    host::SetRawValue(RegRoot::LocalMachine, key, "Three", host::kRegBinary, {0x0A, 0xB0, 0xFF});
    host::SetRawValue(RegRoot::LocalMachine, key, "Empty", host::kRegBinary, {});
    host::SetRawValue(RegRoot::LocalMachine, key, "Long", host::kRegBinary, long81);
    host::SetRawValue(RegRoot::LocalMachine, key, "Path", host::kRegExpandSz, Bytes("%windir%"));
    host::SetRawValue(RegRoot::LocalMachine, key + "\\Sub\\Deeper", "n", host::kRegDword, {7, 0, 0, 0});
    host::SetRawValue(RegRoot::LocalMachine, key + "\\Another", "", host::kRegSz, Bytes(""));

    std::string longText;
    for (int i = 0; i < 80; ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X ", i);
        longText += pair;
    }
    TStringLineList lines;
    RegistryDump(RegRoot::LocalMachine, key, lines);
    const std::vector<std::string> expected = {
        " HKLM@\\SOFTWARE\\Test",
        " HKLM@\\SOFTWARE\\Test\\Text = \"a \"b\"\"",
        " HKLM@\\SOFTWARE\\Test\\Count = -2",
        " HKLM@\\SOFTWARE\\Test\\Three = 0A B0 FF ",
        " HKLM@\\SOFTWARE\\Test\\Empty = [error]",
        " HKLM@\\SOFTWARE\\Test\\Long = " + longText + "... (81 Bytes)",
        " HKLM@\\SOFTWARE\\Test\\Path = unbekannt",
        " HKLM@\\SOFTWARE\\Test\\Another",
        " HKLM@\\SOFTWARE\\Test\\Another\\ = \"\"",
        " HKLM@\\SOFTWARE\\Test\\Sub",
        " HKLM@\\SOFTWARE\\Test\\Sub\\Deeper",
        " HKLM@\\SOFTWARE\\Test\\Sub\\Deeper\\n = 7",
    };
    EXPECT_EQ(lines.Lines(), expected);

    TStringLineList user;
    RegistryDump(RegRoot::CurrentUser, key, user);
    EXPECT_TRUE(user.Lines().empty());
    host::SetRawValue(RegRoot::CurrentUser, "Software", "v", host::kRegDword, {1, 0, 0, 0});
    RegistryDump(RegRoot::CurrentUser, "Software", user);
    EXPECT_EQ(user.Lines(), (std::vector<std::string>{" HKCU@Software", " HKCU@Software\\v = 1"}));
}
