#pragma once
// Facts about the system the drive report and the ASPI repair read: the Windows version
// record, values of a file's version resource, and whether a file exists. Stateless: each
// call asks the system again.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// GetVersionExA's record: the service-pack text unchanged (may be empty or begin with a
// blank). nullopt when the system call fails.
struct OsVersionRecord {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    std::string servicePack;
    uint32_t platformId = 1;  // 1 Windows 95/98, 2 Windows NT and later
};
std::optional<OsVersionRecord> OsVersion();

// True on Windows NT, 2000 and later; false on Windows 95/98 and when the system does not say.
bool IsWindowsNt();

// VerQueryValueA on the version resource of fileName: the bytes of the value query names
// ("\\" the fixed part, "\\VarFileInfo\\Translation", "\\StringFileInfo\\<lang><cp>\\<name>"),
// as long as the resource states (a string includes whatever zero bytes it holds).
// nullopt when the file has no version resource or the value is missing.
std::optional<std::vector<uint8_t>> FileVersionValue(const std::string& fileName, const std::string& query);

// True when path names an existing file (not a directory).
bool FileExists(const std::string& path);

}  // namespace platform
