#pragma once
// The built-in ASPI manager of Windows NT and later: SCSI pass-through on the system's
// CD-ROM devices (\\.\CdRom0, \\.\CdRom1, ...) behind the three SRBs the program sends.
//
// Each device that opens is a host adapter of its own, numbered in the order of the device
// numbers (gaps skipped), with the drive at target 0, LUN 0. An adapter per device rather
// than per port: a device handle reaches only its own drive, and each adapter record then
// carries the alignment and transfer limit of exactly that drive's port. At most eight
// devices, as many as the host adapter table holds.
//
// Commands complete before SendCommand returns; the SRB's event is signalled as a manager
// completing a command does.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DeviceIo.h"

class SptiManager {
public:
    // Device numbers tried: Windows does not reuse a removed drive's number at once.
    static constexpr int kDevicesProbed = 32;
    // Adapter limits when the system does not say (Windows NT 4 has no adapter query).
    static constexpr uint32_t kDefaultAlignmentMask = 3;
    static constexpr uint32_t kDefaultMaxTransfer = 0x10000;

    // Opens every CD-ROM device there is and learns its address and adapter limits.
    SptiManager();
    ~SptiManager();
    SptiManager(const SptiManager&) = delete;
    SptiManager& operator=(const SptiManager&) = delete;

    size_t DeviceCount() const { return devices_.size(); }
    // Path of the first device that refused access (no administrator rights); empty when
    // none did.
    const std::string& DeniedDevice() const { return denied_; }

    // As GetASPI32SupportInfo: SS_COMP with the device count; SS_SECURITY_VIOLATION when
    // devices exist but every one refused access; SS_NO_ADAPTERS without devices.
    uint32_t SupportInfo() const;
    // As SendASPI32Command for host adapter inquiry, get device type and execute SCSI
    // command. timeoutMs bounds an executed command; the system counts whole seconds.
    uint32_t SendCommand(void* srb, uint32_t timeoutMs);

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
    uint8_t InquireAdapter(void* srb) const;
    uint8_t GetDeviceType(void* srb) const;
    uint8_t Execute(void* srb, uint32_t timeoutMs) const;

    std::vector<Device> devices_;
    std::string denied_;
};
