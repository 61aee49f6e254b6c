#include "cli/Streaming.h"

#include "drive/CDROM.h"
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

namespace cli {

namespace {
constexpr uint32_t kOneSecondMs = 1000;
}

std::array<uint8_t, 12> SetStreamingCdb(uint8_t lun)
{
    std::array<uint8_t, 12> cdb{};
    cdb[0] = kSetStreaming;
    cdb[1] = uint8_t(lun << 5);
    putBe16(&cdb[9], kPerformanceDescriptorLength);  // parameter list length
    return cdb;
}

std::array<uint8_t, kPerformanceDescriptorLength> PerformanceDescriptor(uint32_t endLba, uint32_t kbps)
{
    std::array<uint8_t, kPerformanceDescriptorLength> descriptor{};
    // Byte 0: WRC 0, RDD 0 (not the drive's defaults), Exact 0, RA 0.
    putBe32(&descriptor[4], 0);            // start LBA
    putBe32(&descriptor[8], endLba);       // end LBA
    putBe32(&descriptor[12], kbps);        // read size, KB
    putBe32(&descriptor[16], kOneSecondMs);  // read time, ms
    putBe32(&descriptor[20], kbps);        // write size, KB
    putBe32(&descriptor[24], kOneSecondMs);  // write time, ms
    return descriptor;
}

bool SetStreamingSpeed(TCDROM& drive, int32_t factor)
{
    // Not from the speed table: a drive that keeps its step for SET CD SPEED has a table of one.
    const int32_t kbps = FactorToKBps(factor);
    // Drives check the range against the disc; without one, the first block only.
    const int32_t lastBlock = drive.ReadCapacity();
    auto descriptor = PerformanceDescriptor(lastBlock > 0 ? uint32_t(lastBlock) : 0, uint32_t(kbps));
    const auto cdb = SetStreamingCdb(drive.Lun());
    return drive.ExecSCSICmd(cdb.data(), cdb.size(), descriptor.data(), descriptor.size(), DataDirection::Out, true,
                             0);
}

}  // namespace cli
