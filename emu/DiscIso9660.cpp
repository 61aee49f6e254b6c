#include "emu/DiscIso9660.h"

#include <algorithm>
#include <cstring>

#include "emu/Medium.h"
#include "transport/Bytes.h"

namespace emu {

namespace {

constexpr uint8_t kPrimaryVolumeDescriptor = 1;
constexpr uint32_t kSystemIdOffset = 8;
constexpr uint32_t kVolumeIdOffset = 40;
constexpr uint32_t kIdLength = 32;
constexpr uint32_t kVolumeSpaceOffset = 80;
constexpr uint32_t kSetSizeOffset = 120;
constexpr uint32_t kSequenceOffset = 124;
constexpr uint32_t kBlockSizeOffset = 128;
constexpr uint32_t kStructureVersionOffset = 881;

// ISO 9660 stores its numbers twice: little-endian, then big-endian.
void PutBoth16(uint8_t* p, uint32_t value)
{
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
    putBe16(p + 2, value);
}

void PutBoth32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
    putBe32(p + 4, value);
}

}  // namespace

void WritePrimaryVolumeDescriptor(uint8_t* block, const std::string& volumeId, uint32_t blocks)
{
    std::memset(block, 0, kBlockSize);
    block[0] = kPrimaryVolumeDescriptor;
    std::memcpy(block + 1, "CD001", 5);
    block[6] = 1;
    std::memset(block + kSystemIdOffset, ' ', 2 * kIdLength);
    std::memcpy(block + kVolumeIdOffset, volumeId.data(), std::min<size_t>(volumeId.size(), kIdLength));
    PutBoth32(block + kVolumeSpaceOffset, blocks);
    PutBoth16(block + kSetSizeOffset, 1);
    PutBoth16(block + kSequenceOffset, 1);
    PutBoth16(block + kBlockSizeOffset, kBlockSize);
    block[kStructureVersionOffset] = 1;
}

}  // namespace emu
