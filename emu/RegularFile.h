#pragma once
// Files a scenario names (the scenario itself, disc images) come from the user: only regular
// files of a bounded size are read, never a device or a FIFO that could be read without end.
#include <cstdint>
#include <string>
#include <vector>

namespace emu {

// The whole file into bytes; empty on success, else the problem ("not a regular file", ...).
std::string ReadRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes);

}  // namespace emu
