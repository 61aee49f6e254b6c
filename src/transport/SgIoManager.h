#pragma once
// An ASPI manager of our own for Linux: SCSI generic pass-through (SG_IO) on the system's
// CD-ROM devices behind the three SRBs the program sends.
//
// Each device is a host adapter of its own, numbered in the order found, with its drive at
// target 0, LUN 0: first /dev/sr0, /dev/sr1, ... (gaps skipped), then /dev/sg* devices of type
// CD-ROM (5) or WORM (4) that are not already there as a /dev/sr* device (drives without the
// sr driver). At most eight, as many as the host adapter table holds. The kernel copies buffers
// it cannot use in place, so the adapters need no alignment.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/DeviceIo.h"
#include "platform/Mutex.h"
#include "transport/PassThroughManager.h"

class SgIoManager final : public PassThroughManager {
public:
    static constexpr int kDevicesProbed = 32;
    // Transfer limit when the block layer does not say.
    static constexpr uint32_t kDefaultMaxTransfer = 0x10000;

    SgIoManager();
    ~SgIoManager() override;
    SgIoManager(const SgIoManager&) = delete;
    SgIoManager& operator=(const SgIoManager&) = delete;

    size_t DeviceCount() const override { return devices_.size(); }
    // Path of the device behind adapter ha ("/dev/sr0"); empty for another number.
    std::string DevicePath(uint8_t ha) const;
    // DeniedDevice(): the first /dev/sr* device that refused to open for reading and writing;
    // this its errno.
    uint32_t DeniedError() const { return deniedError_; }
    // The last command the kernel refused to pass (errno EPERM or EACCES: a command it lets
    // only privileged programs send): its device (empty when none) and operation code, and
    // how many commands were refused so far.
    struct Refusal {
        std::string device;
        uint8_t opcode = 0;
        uint32_t count = 0;
    };
    Refusal LastRefusal() const;

private:
    struct Device {
        std::string path;
        platform::DeviceHandle handle = nullptr;
        int32_t address = -1;  // SCSI_IOCTL_GET_IDLUN's dev_id; -1 when unknown
        int32_t hostUnique = -1;
        uint8_t deviceType = 5;
        uint32_t maxTransfer = kDefaultMaxTransfer;
    };

    void Probe(const std::string& prefix, bool generic);
    bool Known(const Device& device) const;
    // "SG_IO-sr0", the block layer's transfer limit, the type the probe found.
    AdapterInfo Adapter(uint8_t ha) const override;
    // The time-out goes to the kernel in ms (0: its default).
    void Pass(SRB_ExecSCSICmd& srb, uint32_t timeoutMs) override;

    std::vector<Device> devices_;
    uint32_t deniedError_ = 0;
    // Commands of different drives run on different threads.
    mutable platform::Mutex refusalLock_;
    Refusal refusal_;
};

// The manager as a module for the native module table, so that LoadASPI32 binds it in place of
// WNASPI32.DLL: SendASPI32Command, GetASPI32SupportInfo and SendASPI32CommandTimeout, serving
// the manager set here (without one: SS_NO_ASPI).
void SetSgIoManager(std::shared_ptr<SgIoManager> manager);
std::shared_ptr<SgIoManager> CurrentSgIoManager();
std::map<std::string, void*> SgIoEntryPoints();
