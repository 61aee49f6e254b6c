// Operating-system version and code, version resources, driver files, AudioFS and the registry
// dump's value formats (the whole report shows the plain ones).
#include <gtest/gtest.h>

#include "diag/SystemInfo.h"
#include "platform/host/Host.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostSystemInfo.h"

using platform::RegRoot;
namespace host = platform::host;

TEST(SystemInfo, VersionTextAndCodeFollowTheBuildTable)
{
    const struct {
        platform::OsVersionRecord os;
        const char* text;
        uint8_t code;
    } rows[] = {
        {{4, 0, 950, ""}, "4.0.950", 0},        {{4, 0, 1111, " B"}, "4.0.1111 B", 1},
        {{4, 0, 1212, " C"}, "4.0.1212 C", 2},  {{4, 10, 1998, ""}, "4.10.1998", 3},
        {{4, 10, 1691, ""}, "4.10.1691", 3},    {{4, 10, 0x040A08AE, " A"}, "4.10.2222 A", 4},  // 98: high word kept
        {{5, 0, 2072, ""}, "5.0.2072", 6},      {{4, 0, 1381, "Service Pack 6"}, "4.0.1381Service Pack 6", 5},
        {{5, 0, 2128, ""}, "5.0.2128", 7},      {{5, 0, 2195, "Service Pack 4"}, "5.0.2195Service Pack 4", 8},
        {{4, 0, 1212, " 4.0.1381"}, "4.0.1212 4.0.1381", 2},  // the first row of the table that occurs wins
    };
    host::Reset();
    for (const auto& row : rows) {
        host::SetOsVersion(row.os);
        EXPECT_EQ(std::tuple(OsVersionText(), OsCode()), std::tuple(std::string(row.text), row.code));
    }
    host::SetOsVersion(std::nullopt);
    EXPECT_EQ(OsVersionText() + std::to_string(OsCode()), "8");
}

TEST(SystemInfo, VersionResourceStringsOfTheFirstTranslation)
{
    host::Reset();
    host::SetFileVersionValues("C:\\A.DLL", {{"\\VarFileInfo\\Translation", {0x07, 0x04, 0xE4, 0x04, 0x09, 0x04, 0xB0, 0x04}},
                                            {"\\StringFileInfo\\040704E4\\CompanyName", {'A', 'd', 0, 'x'}},
                                            {"\\StringFileInfo\\040904B0\\ProductName", {'P'}}});
    EXPECT_EQ(VersionInformation("c:\\a.dll", 1), "Ad");
    for (int index : {0, 7, 9, -1}) EXPECT_EQ(VersionInformation("C:\\A.DLL", index), "") << index;
}

TEST(SystemInfo, AudioFsDriverAndState)
{
    const struct {
        std::string systemDirectory, file;
        std::vector<uint8_t> value;
        std::string path;
        int state;  // -1 not found, 1 active, 0 not active
    } rows[] = {
        {"C:\\WIN\\SYSTEM", "c:\\win\\system\\IOSUBSYS\\audiofs.vxd", {0, 0, 0, 0}, "C:\\WIN\\SYSTEM\\Iosubsys\\audiofs.vxd", 1},
        {"C:\\", "C:\\Iosubsys\\audiofs.vxd", {0, 0, 0, 1}, "C:\\Iosubsys\\audiofs.vxd", 0},
        {"C:\\WIN", "C:\\WIN\\audiofs.vxd", {0, 0, 0}, "", -1},
        {std::string(255, 'D'), std::string(255, 'D') + "\\Iosubsys\\audiofs.vxd", {}, "", -1},
    };
    for (const auto& row : rows) {
        host::Reset();
        host::SetSystemDirectory(row.systemDirectory);
        host::AddFile(row.file);
        host::SetRawValue(RegRoot::LocalMachine, "System\\CurrentControlSet\\Services\\VxD\\AudioFS", "0",
                          host::kRegBinary, row.value);
        bool active = false;
        const int state = AudioFSState(active) ? int(active) : -1;
        EXPECT_EQ(std::tuple(DriverFilePath("audiofs.vxd"), state), std::tuple(row.path, row.state));
    }
}

TEST(SystemInfo, RegistryDumpValueFormats)
{
    host::Reset();
    std::vector<uint8_t> long81(81, 0xAB);
    host::SetRawValue(RegRoot::CurrentUser, "Test", "Three", host::kRegBinary, {0x0A, 0xB0, 0xFF});
    host::SetRawValue(RegRoot::CurrentUser, "Test", "Empty", host::kRegBinary, {});
    host::SetRawValue(RegRoot::CurrentUser, "Test", "Long", host::kRegBinary, long81);
    host::SetRawValue(RegRoot::CurrentUser, "Test", "Path", host::kRegExpandSz, {'%', 0});
    host::SetRawValue(RegRoot::CurrentUser, "Test", "Count", host::kRegDword, {0xFE, 0xFF, 0xFF, 0xFF});
    TStringLineList lines;
    RegistryDump(RegRoot::CurrentUser, "Test", lines);
    RegistryDump(RegRoot::LocalMachine, "Test", lines);
    std::string hex80;
    for (int i = 0; i < 80; ++i) hex80 += "AB ";
    EXPECT_EQ(lines.Lines(), (std::vector<std::string>{" HKCU@Test", " HKCU@Test\\Three = 0A B0 FF ",
                                                       " HKCU@Test\\Empty = [error]",
                                                       " HKCU@Test\\Long = " + hex80 + "... (81 Bytes)",
                                                       " HKCU@Test\\Path = unbekannt", " HKCU@Test\\Count = -2"}));
}
