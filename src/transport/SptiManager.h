#pragma once
// The built-in ASPI manager of Windows NT and later: SCSI pass-through on the system's
// CD-ROM devices (\\.\CdRom0, \\.\CdRom1, ...) behind the three SRBs the program sends.
//
// Each device that opens is a host adapter of its own, numbered in the order of the device
// numbers (gaps skipped), with the drive at target 0, LUN 0. An adapter per device rather
// than per port: a device handle reaches only its own drive, and each adapter record then
// carries the alignment and transfer limit of exactly that drive's port. At most eight
// devices, as many as the host adapter table holds.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DeviceIo.h"
#include "transport/PassThroughManager.h"

class SptiManager final : public PassThroughManager {
public:
    // Device numbers tried: Windows does not reuse a removed drive's number at once.
    static constexpr int kDevicesProbed = 32;
    // Adapter limits when the system does not say (Windows NT 4 has no adapter query).
    static constexpr uint32_t kDefaultAlignmentMask = 3;
    static constexpr uint32_t kDefaultMaxTransfer = 0x10000;

    // Opens every CD-ROM device there is and learns its address and adapter limits.
    SptiManager();
    ~SptiManager() override;
    SptiManager(const SptiManager&) = delete;
    SptiManager& operator=(const SptiManager&) = delete;

    size_t DeviceCount() const override { return devices_.size(); }

private:
    struct Device {
        std::string path;
        platform::DeviceHandle handle = nullptr;
        uint8_t pathId = 0;
        uint8_t targetId = 0;
        uint8_t lun = 0;
        uint32_t alignmentMask = kDefaultAlignmentMask;
        uint32_t maxTransfer = kDefaultMaxTransfer;
    };

    static Device Describe(const std::string& path, platform::DeviceHandle handle);
    // "SPTI-CdRom0", the device's alignment and transfer limit; every device a CD-ROM.
    AdapterInfo Adapter(uint8_t ha) const override;
    // The time-out goes to the system in whole seconds.
    void Pass(SRB_ExecSCSICmd& srb, uint32_t timeoutMs) override;

    std::vector<Device> devices_;
};
