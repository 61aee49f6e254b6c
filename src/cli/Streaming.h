#pragma once
// SET STREAMING (MMC, opcode B6h): the read speed as a performance descriptor, for drives that
// take SET CD SPEED but keep their own speed.
#include <array>
#include <cstdint>

class TCDROM;

namespace cli {

constexpr uint16_t kPerformanceDescriptorLength = 28;

// CDB of SET STREAMING with a parameter list of one performance descriptor (type 0).
std::array<uint8_t, 12> SetStreamingCdb(uint8_t lun);
// The descriptor: the whole disc from LBA 0 to endLba at kbps for reading and writing, per
// second (read size kbps KB in a read time of 1000 ms).
std::array<uint8_t, kPerformanceDescriptorLength> PerformanceDescriptor(uint32_t endLba, uint32_t kbps);

// Sends it for factor (factor × 177 + 87 KB/s); the command's success.
bool SetStreamingSpeed(TCDROM& drive, int32_t factor);

}  // namespace cli
