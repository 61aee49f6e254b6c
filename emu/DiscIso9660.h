#pragma once
// The ISO 9660 volume descriptor that emulated data tracks carry.
#include <cstdint>
#include <string>

namespace emu {

// Block of a data track, counted from its start, that holds the primary volume descriptor.
constexpr uint32_t kVolumeDescriptorBlock = 16;

// A 2048-byte primary volume descriptor: type 1, "CD001", version 1, the volume identifier
// (bytes 40..71, blank padded, cut to 32 bytes) and the volume size in blocks.
void WritePrimaryVolumeDescriptor(uint8_t* block, const std::string& volumeId, uint32_t blocks);

}  // namespace emu
