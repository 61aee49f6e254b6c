#include <algorithm>
#include <cctype>
#include <mutex>
#include <set>

#include "platform/host/HostSystemInfo.h"

namespace {

const platform::OsVersionRecord kDefaultVersion{4, 10, 2222, " A"};

std::mutex lock;
std::optional<platform::OsVersionRecord> osVersion = kDefaultVersion;
std::map<std::string, std::map<std::string, std::vector<uint8_t>>> versionValues;
std::set<std::string> files;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

void PutLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(v >> (8 * i));
}

}  // namespace

namespace platform {

std::optional<OsVersionRecord> OsVersion()
{
    std::lock_guard<std::mutex> guard(lock);
    return osVersion;
}

std::optional<std::vector<uint8_t>> FileVersionValue(const std::string& fileName, const std::string& query)
{
    std::lock_guard<std::mutex> guard(lock);
    const auto file = versionValues.find(Lower(fileName));
    if (file == versionValues.end()) return std::nullopt;
    const auto value = file->second.find(query);
    if (value == file->second.end()) return std::nullopt;
    return value->second;
}

bool FileExists(const std::string& path)
{
    std::lock_guard<std::mutex> guard(lock);
    return files.count(Lower(path)) != 0;
}

}  // namespace platform

namespace platform::host {

void SetOsVersion(std::optional<OsVersionRecord> record)
{
    std::lock_guard<std::mutex> guard(lock);
    osVersion = std::move(record);
}

void SetFileVersionValues(const std::string& fileName, const std::map<std::string, std::vector<uint8_t>>& values)
{
    std::lock_guard<std::mutex> guard(lock);
    if (values.empty()) versionValues.erase(Lower(fileName));
    else versionValues[Lower(fileName)] = values;
}

std::vector<uint8_t> FixedFileInfo(uint16_t major, uint16_t minor, uint16_t release, uint16_t build)
{
    // VS_FIXEDFILEINFO: signature, structure version, then the file version's two halves.
    std::vector<uint8_t> info(52, 0);
    PutLe32(info, 0, 0xFEEF04BD);
    PutLe32(info, 4, 0x00010000);
    PutLe32(info, 8, uint32_t(major) << 16 | minor);
    PutLe32(info, 12, uint32_t(release) << 16 | build);
    return info;
}

void AddFile(const std::string& path)
{
    std::lock_guard<std::mutex> guard(lock);
    files.insert(Lower(path));
}

void ResetSystemInfo()
{
    std::lock_guard<std::mutex> guard(lock);
    osVersion = kDefaultVersion;
    versionValues.clear();
    files.clear();
}

}  // namespace platform::host
