#include "transport/PassThroughManager.h"

#include <algorithm>
#include <cstring>

#include "platform/Event.h"
#include "transport/Aspi.h"
#include "transport/Bytes.h"

namespace {
constexpr uint8_t kAdapterScsiId = 7;
constexpr uint8_t kTargetIds = 8;  // only 0 answers
}  // namespace

uint32_t PassThroughManager::SupportInfo() const
{
    if (DeviceCount() != 0) return uint32_t(SS_COMP) << 8 | uint32_t(DeviceCount());
    return uint32_t(denied_.empty() ? SS_NO_ADAPTERS : SS_SECURITY_VIOLATION) << 8;
}

uint32_t PassThroughManager::SendCommand(void* srb, uint32_t timeoutMs)
{
    auto* header = static_cast<SRB_Header*>(srb);
    switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY: return header->SRB_Status = InquireAdapter(srb);
    case SC_GET_DEV_TYPE: return header->SRB_Status = GetDeviceType(srb);
    case SC_EXEC_SCSI_CMD: return Execute(srb, timeoutMs);
    default: return header->SRB_Status = SS_INVALID_CMD;
    }
}

uint8_t PassThroughManager::InquireAdapter(void* raw) const
{
    auto& srb = *static_cast<SRB_HAInquiry*>(raw);
    if (srb.SRB_HaId >= DeviceCount()) return SS_INVALID_HA;
    const AdapterInfo adapter = Adapter(srb.SRB_HaId);
    srb.HA_Count = uint8_t(DeviceCount());
    srb.HA_SCSI_ID = kAdapterScsiId;
    std::memcpy(srb.HA_ManagerId, managerId_, sizeof(srb.HA_ManagerId));
    std::memset(srb.HA_Identifier, 0, sizeof(srb.HA_Identifier));
    std::memcpy(srb.HA_Identifier, adapter.identifier.data(),
                std::min(adapter.identifier.size(), sizeof(srb.HA_Identifier)));
    std::memset(srb.HA_Unique, 0, sizeof(srb.HA_Unique));
    putLe16(srb.HA_Unique, std::min<uint32_t>(adapter.alignmentMask, 0xFFFF));
    srb.HA_Unique[3] = kTargetIds;
    putLe32(srb.HA_Unique + 4, adapter.maxTransfer);
    return SS_COMP;
}

uint8_t PassThroughManager::GetDeviceType(void* raw) const
{
    auto& srb = *static_cast<SRB_GDEVBlock*>(raw);
    if (srb.SRB_HaId >= DeviceCount()) return SS_INVALID_HA;
    if (srb.SRB_Target != 0 || srb.SRB_Lun != 0) return SS_NO_DEVICE;
    srb.SRB_DeviceType = Adapter(srb.SRB_HaId).deviceType;
    return SS_COMP;
}

uint32_t PassThroughManager::Execute(void* raw, uint32_t timeoutMs)
{
    auto& srb = *static_cast<SRB_ExecSCSICmd*>(raw);
    if (srb.SRB_HaId >= DeviceCount()) return srb.SRB_Status = SS_INVALID_HA;
    if (srb.SRB_Target != 0 || srb.SRB_Lun != 0) return srb.SRB_Status = SS_NO_DEVICE;
    if (srb.SRB_CDBLen == 0 || srb.SRB_CDBLen > sizeof(srb.CDBByte)) return srb.SRB_Status = SS_INVALID_SRB;
    Pass(srb, timeoutMs);
    if ((srb.SRB_Flags & SRB_EVENT_NOTIFY) && srb.SRB_PostProc) platform::SignalEvent(srb.SRB_PostProc);
    return srb.SRB_Status;
}
