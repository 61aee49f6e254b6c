// System facts of Linux in the shape the report reads: the kernel's version as the version
// record (no Windows: platform id 0), no version resources.
#include <sys/stat.h>
#include <sys/utsname.h>

#include <cstdio>

#include "platform/SystemInfo.h"

namespace platform {

// "6.1.0-18-amd64" is 6.1.0 with " (Linux 6.1.0-18-amd64)" where Windows has its service pack.
std::optional<OsVersionRecord> OsVersion()
{
    utsname name{};
    if (::uname(&name) != 0) return std::nullopt;
    OsVersionRecord record;
    unsigned major = 0, minor = 0, patch = 0;
    std::sscanf(name.release, "%u.%u.%u", &major, &minor, &patch);
    record.major = major;
    record.minor = minor;
    record.build = patch;
    record.servicePack = std::string(" (") + name.sysname + " " + name.release + ")";
    record.platformId = 0;
    return record;
}

std::optional<std::vector<uint8_t>> FileVersionValue(const std::string&, const std::string&) { return std::nullopt; }

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace platform
