#include "transport/SptiManager.h"

#include <algorithm>
#include <cstring>

#include "transport/Aspi.h"
#include "transport/AspiManager.h"
#include "transport/ScsiCodes.h"
#include "transport/SptiRecords.h"

namespace {

const char kManagerId[16] = {'K', 'A', 'L', 'M', 'O', 'R', ' ', 'S', 'P', 'T', 'I', ' ', ' ', ' ', ' ', ' '};

// How a failed pass-through request completes its SRB; any other error is a plain SS_ERR.
struct ErrorRow {
    uint32_t error;
    uint8_t status;
    uint8_t hostStatus;
};

const ErrorRow kErrorRows[] = {
    {platform::kErrorSemTimeout, SS_ERR, HASTAT_COMMAND_TIMEOUT},  // the port driver gave up on the command
    {platform::kErrorNotReady, SS_ERR, HASTAT_SEL_TO},             // the device is gone
    {platform::kErrorDeviceNotConnected, SS_ERR, HASTAT_SEL_TO},
    {platform::kErrorInvalidParameter, SS_INVALID_SRB, HASTAT_OK},  // length, alignment or CDB refused
};

// The one place where a command's time-out becomes the system's unit: whole seconds,
// rounded up, never 0 (the port driver takes 0 as no time at all).
uint32_t TimeOutSeconds(uint32_t ms) { return std::max<uint32_t>(1, ms / 1000 + (ms % 1000 != 0 ? 1 : 0)); }

uint8_t DataDirection(uint8_t flags)
{
    switch (flags & (SRB_DIR_IN | SRB_DIR_OUT)) {
    case SRB_DIR_IN: return spti::kDataIn;
    case SRB_DIR_OUT: return spti::kDataOut;
    default: return spti::kDataUnspecified;
    }
}

uint8_t SenseLength(const SRB_ExecSCSICmd& srb) { return std::min<uint8_t>(srb.SRB_SenseLen, SENSE_LEN); }

void Complete(SRB_ExecSCSICmd& srb, const spti::PassThroughWithSense& request, bool ok, uint32_t error)
{
    uint8_t status = SS_ERR;
    uint8_t hostStatus = HASTAT_OK;
    uint8_t targetStatus = 0;
    if (ok) {
        targetStatus = request.sptd.ScsiStatus;
        if (targetStatus == 0) status = SS_COMP;
        if (targetStatus == kStatusCheckCondition) std::memcpy(srb.SenseArea, request.sense, SenseLength(srb));
    } else {
        for (const ErrorRow& row : kErrorRows) {
            if (row.error != error) continue;
            status = row.status;
            hostStatus = row.hostStatus;
            break;
        }
    }
    srb.SRB_HaStat = hostStatus;
    srb.SRB_TargStat = targetStatus;
    srb.SRB_Status = status;
}

}  // namespace

SptiManager::SptiManager() : PassThroughManager(kManagerId)
{
    for (int n = 0; n < kDevicesProbed && devices_.size() < kMaxHostAdaptors; ++n) {
        std::string path = "\\\\.\\CdRom";
        path += std::to_string(n);
        uint32_t error = 0;
        const platform::DeviceHandle handle = platform::OpenDevice(path, error);
        if (handle) devices_.push_back(Describe(path, handle));
        else if (error == platform::kErrorAccessDenied && denied_.empty()) denied_ = path;
    }
}

SptiManager::~SptiManager()
{
    for (const Device& device : devices_) platform::CloseDevice(device.handle);
}

// A device whose port does not give its address or limits is still used: the class
// driver addresses its own drive, and the defaults are safe ones.
SptiManager::Device SptiManager::Describe(const std::string& path, platform::DeviceHandle handle)
{
    Device device;
    device.path = path;
    device.handle = handle;
    uint32_t returned = 0;
    uint32_t error = 0;

    spti::ScsiAddress address{};
    if (platform::DeviceControl(handle, spti::kIoctlScsiGetAddress, nullptr, 0, &address, sizeof(address), returned,
                                error) &&
        returned >= sizeof(address)) {
        device.pathId = address.PathId;
        device.targetId = address.TargetId;
        device.lun = address.Lun;
    }

    spti::PropertyQuery query{};
    query.PropertyId = spti::kStorageAdapterProperty;
    query.QueryType = spti::kPropertyStandardQuery;
    spti::AdapterDescriptor adapter{};
    const uint32_t needed = offsetof(spti::AdapterDescriptor, AlignmentMask) + sizeof(adapter.AlignmentMask);
    if (platform::DeviceControl(handle, spti::kIoctlStorageQueryProperty, &query, sizeof(query), &adapter,
                                sizeof(adapter), returned, error) &&
        returned >= needed) {
        device.alignmentMask = adapter.AlignmentMask;
        device.maxTransfer = adapter.MaximumTransferLength;
    }
    return device;
}

SptiManager::AdapterInfo SptiManager::Adapter(uint8_t ha) const
{
    const Device& device = devices_[ha];
    // The class driver claims CD-ROM devices; the target's INQUIRY tells the rest.
    return {"SPTI-" + device.path.substr(4), device.alignmentMask, device.maxTransfer, kDeviceTypeCdRom};
}

void SptiManager::Pass(SRB_ExecSCSICmd& srb, uint32_t timeoutMs)
{
    const Device& device = devices_[srb.SRB_HaId];

    spti::PassThroughWithSense request;
    std::memset(&request, 0, sizeof(request));
    spti::PassThroughDirect& sptd = request.sptd;
    sptd.Length = sizeof(sptd);
    sptd.PathId = device.pathId;
    sptd.TargetId = device.targetId;
    sptd.Lun = device.lun;
    sptd.CdbLength = srb.SRB_CDBLen;
    sptd.SenseInfoLength = SenseLength(srb);
    sptd.DataIn = DataDirection(srb.SRB_Flags);
    sptd.DataTransferLength = srb.SRB_BufLen;
    sptd.TimeOutValue = TimeOutSeconds(timeoutMs);
    sptd.DataBuffer = srb.SRB_BufPointer;
    sptd.SenseInfoOffset = offsetof(spti::PassThroughWithSense, sense);
    std::memcpy(sptd.Cdb, srb.CDBByte, srb.SRB_CDBLen);

    uint32_t returned = 0;
    uint32_t error = 0;
    const bool ok = platform::DeviceControl(device.handle, spti::kIoctlScsiPassThroughDirect, &request,
                                            sizeof(request), &request, sizeof(request), returned, error);
    Complete(srb, request, ok, error);
}
