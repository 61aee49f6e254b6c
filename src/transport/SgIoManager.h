#pragma once
// An ASPI manager of our own for Linux: SCSI generic pass-through (SG_IO) on the system's
// CD-ROM devices behind the three SRBs the program sends.
//
// Each device is a host adapter of its own, numbered in the order found, with its drive at
// target 0, LUN 0: first /dev/sr0, /dev/sr1, ... (gaps skipped), then /dev/sg* devices of type
// CD-ROM (5) or WORM (4) that are not already there as a /dev/sr* device (drives without the
// sr driver). At most eight, as many as the host adapter table holds. The kernel copies buffers
// it cannot use in place, so the adapters need no alignment.
//
// Commands complete before SendCommand returns; the SRB's event is signalled as a manager
// completing a command does.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/DeviceIo.h"
#include "platform/Mutex.h"

class SgIoManager {
public:
    static constexpr int kDevicesProbed = 32;
    // Transfer limit when the block layer does not say.
    static constexpr uint32_t kDefaultMaxTransfer = 0x10000;

    SgIoManager();
    ~SgIoManager();
    SgIoManager(const SgIoManager&) = delete;
    SgIoManager& operator=(const SgIoManager&) = delete;

    size_t DeviceCount() const { return devices_.size(); }
    // Path of the device behind adapter ha ("/dev/sr0"); empty for another number.
    std::string DevicePath(uint8_t ha) const;
    // The first /dev/sr* device that refused to open for reading and writing, and errno.
    const std::string& DeniedDevice() const { return denied_; }
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

    // As GetASPI32SupportInfo: SS_COMP with the device count; SS_SECURITY_VIOLATION when no
    // device opened but a /dev/sr* device refused access; SS_NO_ADAPTERS without devices.
    uint32_t SupportInfo() const;
    // As SendASPI32Command for host adapter inquiry, get device type and execute SCSI
    // command; timeoutMs bounds an executed command (0: the kernel's default).
    uint32_t SendCommand(void* srb, uint32_t timeoutMs);

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
    uint8_t InquireAdapter(void* srb) const;
    uint8_t GetDeviceType(void* srb) const;
    uint8_t Execute(void* srb, uint32_t timeoutMs);

    std::vector<Device> devices_;
    std::string denied_;
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
