#pragma once
// An emulated device as Linux shows a SCSI device to programs: a node that takes SG_IO,
// SCSI_IOCTL_GET_IDLUN and (for a CD-ROM drive's /dev/sr* node) BLKSECTGET. Each SG_IO request
// goes to the manager as an execute SRB, so the log, faults and timing are the manager's; the
// answer comes back as the kernel gives it: status byte, host status, sense, time-out.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "emu/Emulator.h"

namespace emu {

class SgIoDevice {
public:
    SgIoDevice(std::shared_ptr<Manager> manager, uint8_t ha, uint8_t target, bool blockDevice);

    // The device control of the platform's device seam: errno values in error.
    bool Control(uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize, uint32_t& returned,
                 uint32_t& error);

private:
    struct Request;
    bool PassThrough(void* header, uint32_t& error);

    std::shared_ptr<Manager> manager_;
    uint8_t ha_;
    uint8_t target_;
    bool blockDevice_;
    // Requests whose time ran out: a late completion writes into them, never into the caller.
    std::mutex abandonedLock_;
    std::vector<std::unique_ptr<Request>> abandoned_;
};

// Every device at LUN 0 of the manager, in adapter and target order, as the kernel names
// them: each is /dev/sg<n>, and a CD-ROM or WORM device is also /dev/sr<m>.
struct SgIoNode {
    std::string path;
    std::shared_ptr<SgIoDevice> device;
};
std::vector<SgIoNode> SgIoNodes(const std::shared_ptr<Manager>& manager);

}  // namespace emu
