#include <windows.h>

#include "platform/SystemInfo.h"

namespace platform {

std::optional<OsVersionRecord> OsVersion()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info)) return std::nullopt;
    return OsVersionRecord{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.szCSDVersion,
                           info.dwPlatformId};
}

std::optional<std::vector<uint8_t>> FileVersionValue(const std::string& fileName, const std::string& query)
{
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0) return std::nullopt;
    std::vector<uint8_t> block(size);
    if (!::GetFileVersionInfoA(fileName.c_str(), 0, size, block.data())) return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), query.c_str(), &value, &length) || !value) return std::nullopt;
    const uint8_t* begin = static_cast<const uint8_t*>(value);
    // The value lies inside the block; a stated length never reads past its end.
    if (begin < block.data() || begin > block.data() + block.size()) return std::nullopt;
    const size_t room = size_t(block.data() + block.size() - begin);
    return std::vector<uint8_t>(begin, begin + (length < room ? length : room));
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace platform
