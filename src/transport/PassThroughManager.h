#pragma once
// What the built-in ASPI managers share: each device a host adapter of its own with its drive
// at target 0, LUN 0, behind the three SRBs the program sends. Commands complete before
// SendCommand returns; the SRB's event is signalled as a manager completing a command does.
#include <cstddef>
#include <cstdint>
#include <string>

struct SRB_ExecSCSICmd;

class PassThroughManager {
public:
    virtual ~PassThroughManager() = default;

    virtual size_t DeviceCount() const = 0;
    // Path of the first device that refused access; empty when none did.
    const std::string& DeniedDevice() const { return denied_; }

    // As GetASPI32SupportInfo: SS_COMP with the device count; SS_SECURITY_VIOLATION when no
    // device opened but one refused access; SS_NO_ADAPTERS without devices.
    uint32_t SupportInfo() const;
    // As SendASPI32Command for host adapter inquiry, get device type and execute SCSI
    // command; timeoutMs bounds an executed command.
    uint32_t SendCommand(void* srb, uint32_t timeoutMs);

protected:
    // managerId: HA_ManagerId, 16 characters.
    explicit PassThroughManager(const char* managerId) : managerId_(managerId) {}

    // What host adapter inquiry and get device type say of the adapter of a device.
    struct AdapterInfo {
        std::string identifier;  // HA_Identifier, cut to its 16 bytes
        uint32_t alignmentMask = 0;
        uint32_t maxTransfer = 0;
        uint8_t deviceType = 0;
    };
    virtual AdapterInfo Adapter(uint8_t ha) const = 0;
    // Runs the command of an SRB whose address and CDB length were checked, and sets its
    // status, host and target status and sense.
    virtual void Pass(SRB_ExecSCSICmd& srb, uint32_t timeoutMs) = 0;

    std::string denied_;

private:
    uint8_t InquireAdapter(void* srb) const;
    uint8_t GetDeviceType(void* srb) const;
    uint32_t Execute(void* srb, uint32_t timeoutMs);

    const char* managerId_;
};
