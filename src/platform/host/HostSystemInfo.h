#pragma once
// Controls of the native system facts, for tests and tools. Reset() restores the defaults.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/SystemInfo.h"

namespace platform::host {

// What OsVersion reports; Windows 98 SE (4.10.2222, " A") until set. nullopt: the call fails.
void SetOsVersion(std::optional<OsVersionRecord> record);

// The values of a file's version resource by query; an empty map removes the resource.
// File names compare case-insensitively.
void SetFileVersionValues(const std::string& fileName, const std::map<std::string, std::vector<uint8_t>>& values);

// The fixed part of a version resource ("\\" query) holding the four file version words.
std::vector<uint8_t> FixedFileInfo(uint16_t major, uint16_t minor, uint16_t release, uint16_t build);

// Files FileExists finds (compared case-insensitively); none until added.
void AddFile(const std::string& path);

// Back to the defaults above; called by Reset().
void ResetSystemInfo();

}  // namespace platform::host
