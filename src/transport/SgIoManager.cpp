#include "transport/SgIoManager.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "transport/Aspi.h"
#include "transport/AspiManager.h"
#include "transport/ScsiCodes.h"
#include "transport/SgIoRecords.h"

namespace {

const char kManagerId[16] = {'K', 'A', 'L', 'M', 'O', 'R', ' ', 'S', 'G', '_', 'I', 'O', ' ', ' ', ' ', ' '};
constexpr uint8_t kDeviceTypeWorm = 4;
constexpr uint32_t kSenseBufferSize = 32;
constexpr uint32_t kProbeTimeoutMs = 10000;

// How the host status of a command that reached the adapter completes its SRB.
struct HostRow {
    uint16_t hostStatus;
    uint8_t status;
    uint8_t aspiHostStatus;
};
const HostRow kHostRows[] = {
    {sgio::kDidNoConnect, SS_ERR, HASTAT_SEL_TO},              // no device at the address
    {sgio::kDidBusBusy, SS_ERR, HASTAT_TIMEOUT},               // the bus stayed busy: never started
    {sgio::kDidTimeOut, SS_ERR, HASTAT_COMMAND_TIMEOUT},       // the command ran out of time
    {sgio::kDidBadTarget, SS_ERR, HASTAT_SEL_TO},
    {sgio::kDidAbort, SS_ABORTED, HASTAT_OK},
    {sgio::kDidParity, SS_ERR, HASTAT_PARITY_ERROR},
    {sgio::kDidReset, SS_ERR, HASTAT_BUS_RESET},
    {sgio::kDidTransportDisrupted, SS_ERR, HASTAT_SEL_TO},     // the drive went away (USB unplugged)
    {sgio::kDidTransportFailfast, SS_ERR, HASTAT_SEL_TO},
};

// How a request the kernel refused (ioctl failing with errno) completes its SRB; any other
// errno is a plain SS_ERR.
struct ErrnoRow {
    int error;
    uint8_t status;
    uint8_t aspiHostStatus;
};
const ErrnoRow kErrnoRows[] = {
    {ENODEV, SS_ERR, HASTAT_SEL_TO},  // the device is gone
    {ENXIO, SS_ERR, HASTAT_SEL_TO},
    {EINVAL, SS_INVALID_SRB, HASTAT_OK},  // length or CDB the queue does not take
    {ENOMEM, SS_INVALID_SRB, HASTAT_OK},
    {EOVERFLOW, SS_INVALID_SRB, HASTAT_OK},
};

int32_t Direction(uint8_t flags)
{
    switch (flags & (SRB_DIR_IN | SRB_DIR_OUT)) {
    case SRB_DIR_IN: return sgio::kDxferFromDev;
    case SRB_DIR_OUT: return sgio::kDxferToDev;
    default: return sgio::kDxferNone;
    }
}

uint8_t SenseLength(const SRB_ExecSCSICmd& srb) { return std::min<uint8_t>(srb.SRB_SenseLen, SENSE_LEN); }

// One command on an open device; false with errno when the kernel refused the request.
bool PassHeader(platform::DeviceHandle handle, sgio::SgIoHeader& header, uint32_t& error)
{
    uint32_t returned = 0;
    return platform::DeviceControl(handle, sgio::kSgIo, &header, sizeof(header), &header, sizeof(header), returned,
                                   error);
}

sgio::SgIoHeader Header(int32_t direction, uint8_t* cdb, uint8_t cdbLength, void* data, uint32_t length,
                        uint8_t* sense, uint8_t senseLength, uint32_t timeoutMs)
{
    sgio::SgIoHeader header;
    std::memset(&header, 0, sizeof(header));
    header.interface_id = 'S';
    header.dxfer_direction = direction;
    header.cmd_len = cdbLength;
    header.mx_sb_len = senseLength;
    header.dxfer_len = length;
    header.dxferp = data;
    header.cmdp = cdb;
    header.sbp = sense;
    header.timeout = timeoutMs;
    return header;
}

// The peripheral device type by a standard INQUIRY; 0x1F when the device does not answer.
uint8_t InquireType(platform::DeviceHandle handle)
{
    uint8_t cdb[6] = {kInquiry, 0, 0, 0, 36, 0};
    uint8_t data[36] = {};
    uint8_t sense[kSenseBufferSize] = {};
    sgio::SgIoHeader header = Header(sgio::kDxferFromDev, cdb, sizeof(cdb), data, sizeof(data), sense,
                                     sizeof(sense), kProbeTimeoutMs);
    uint32_t error = 0;
    if (!PassHeader(handle, header, error) || header.status != 0 || header.host_status != sgio::kDidOk) return 0x1F;
    return data[0] & 0x1F;
}

}  // namespace

SgIoManager::SgIoManager() : PassThroughManager(kManagerId)
{
    Probe("/dev/sr", false);
    Probe("/dev/sg", true);
}

SgIoManager::~SgIoManager()
{
    for (const Device& device : devices_) platform::CloseDevice(device.handle);
}

void SgIoManager::Probe(const std::string& prefix, bool generic)
{
    for (int n = 0; n < kDevicesProbed && devices_.size() < kMaxHostAdaptors; ++n) {
        Device device;
        device.path = prefix + std::to_string(n);
        uint32_t error = 0;
        device.handle = platform::OpenDevice(device.path, error);
        if (!device.handle) {
            // A generic device that refuses may be a disk's: only CD-ROM devices say which
            // right is missing.
            if ((error == EACCES || error == EPERM) && !generic && denied_.empty()) {
                denied_ = device.path;
                deniedError_ = error;
            }
            continue;
        }
        uint32_t returned = 0;
        sgio::IdLun idLun{};
        if (platform::DeviceControl(device.handle, sgio::kScsiIoctlGetIdLun, nullptr, 0, &idLun, sizeof(idLun),
                                    returned, error)) {
            device.address = idLun.dev_id;
            device.hostUnique = idLun.host_unique_id;
        }
        uint16_t sectors = 0;
        if (!generic && platform::DeviceControl(device.handle, sgio::kBlkSectGet, nullptr, 0, &sectors,
                                                sizeof(sectors), returned, error) &&
            sectors != 0)
            device.maxTransfer = uint32_t(sectors) * 512;
        if (generic) device.deviceType = Known(device) ? 0x1F : InquireType(device.handle);
        if (device.deviceType == kDeviceTypeCdRom || device.deviceType == kDeviceTypeWorm)
            devices_.push_back(device);
        else
            platform::CloseDevice(device.handle);
    }
}

// A generic device whose address a /dev/sr* device already has is the same drive.
bool SgIoManager::Known(const Device& device) const
{
    if (device.address == -1) return false;
    for (const Device& other : devices_) {
        if (other.address == device.address && other.hostUnique == device.hostUnique) return true;
    }
    return false;
}

SgIoManager::Refusal SgIoManager::LastRefusal() const
{
    platform::MutexLock guard(refusalLock_);
    return refusal_;
}

std::string SgIoManager::DevicePath(uint8_t ha) const { return ha < devices_.size() ? devices_[ha].path : ""; }

SgIoManager::AdapterInfo SgIoManager::Adapter(uint8_t ha) const
{
    const Device& device = devices_[ha];
    // The sr driver claims only CD-ROM and WORM devices; the target's INQUIRY tells the rest.
    return {"SG_IO-" + device.path.substr(device.path.rfind('/') + 1), 0, device.maxTransfer, device.deviceType};
}

void SgIoManager::Pass(SRB_ExecSCSICmd& srb, uint32_t timeoutMs)
{
    const Device& device = devices_[srb.SRB_HaId];

    uint8_t sense[kSenseBufferSize] = {};
    const int32_t direction = Direction(srb.SRB_Flags);
    sgio::SgIoHeader header =
        Header(direction, srb.CDBByte, srb.SRB_CDBLen, direction == sgio::kDxferNone ? nullptr : srb.SRB_BufPointer,
               direction == sgio::kDxferNone ? 0 : srb.SRB_BufLen, sense, SenseLength(srb), timeoutMs);
    uint32_t error = 0;
    uint8_t status = SS_ERR;
    uint8_t hostStatus = HASTAT_OK;
    uint8_t targetStatus = 0;
    if (!PassHeader(device.handle, header, error)) {
        for (const ErrnoRow& row : kErrnoRows) {
            if (row.error != int(error)) continue;
            status = row.status;
            hostStatus = row.aspiHostStatus;
            break;
        }
        if (error == EPERM || error == EACCES) {
            platform::MutexLock guard(refusalLock_);
            refusal_ = {device.path, srb.CDBByte[0], refusal_.count + 1};
        }
    } else {
        targetStatus = header.status;
        for (const HostRow& row : kHostRows) {
            if (row.hostStatus != header.host_status) continue;
            status = row.status;
            hostStatus = row.aspiHostStatus;
            break;
        }
        const bool driverError = (header.driver_status & sgio::kDriverErrorMask) != 0;
        if ((header.driver_status & sgio::kDriverErrorMask) == sgio::kDriverTimeout) hostStatus = HASTAT_COMMAND_TIMEOUT;
        if (header.host_status == sgio::kDidOk && !driverError && targetStatus == 0) status = SS_COMP;
        std::memcpy(srb.SenseArea, sense, std::min<uint8_t>(header.sb_len_wr, SenseLength(srb)));
    }
    srb.SRB_HaStat = hostStatus;
    srb.SRB_TargStat = targetStatus;
    srb.SRB_Status = status;
}
