#pragma once
// Controls of the native registry (an in-memory tree) for tests and tools.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace platform::host {

// Registry value types as Windows numbers them.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

// Removes every key and value below both roots. Keys still open fail from then on.
void ClearRegistry();

// Stores raw data of any type, creating the key: a REG_SZ where a REG_DWORD is expected,
// a REG_DWORD of 2 bytes, a string without its terminating zero. False for a bad path.
bool SetRawValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                 const std::vector<uint8_t>& data);

struct RegistryLoadResult {
    bool ok = false;
    int line = 0;       // 1-based line of the first error; 0 when the file could not be read
    std::string error;  // empty when ok
};

// Merges a regedit export into the tree, as importing it would: keys are created and
// the values given overwrite those of the same name. Accepts REGEDIT4 (Windows-1252)
// and "Windows Registry Editor Version 5.00" (UTF-16LE, as Wine's regedit /E writes).
// Strict: any malformed line, or a last line without its line end, rejects the whole
// file and the tree stays exactly as it was.
RegistryLoadResult LoadRegistryText(const std::string& text);
RegistryLoadResult LoadRegistryFile(const std::string& fileName);

// The whole tree as REGEDIT4 text with CRLF line ends: every key as a section (so empty
// keys persist), values in the tree's order.
std::string RegistryText();
// Writes RegistryText() atomically: a temporary file beside the target is written,
// flushed to disk and renamed over the target. False on any failure, and then the
// target is unchanged and no temporary file is left behind.
bool SaveRegistryFile(const std::string& fileName);

}  // namespace platform::host
