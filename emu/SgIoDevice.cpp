#include "emu/SgIoDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Event.h"
#include "platform/Time.h"
#include "transport/Bytes.h"
#include "transport/SgIoRecords.h"

namespace emu {

namespace {

constexpr uint16_t kDriverSense = 0x08;
constexpr uint32_t kSgInfoCheck = 0x01;
constexpr uint32_t kDefaultTimeoutMs = 60000;  // the block layer's when a request gives none
constexpr uint8_t kMaxTargetIds = 16;

uint8_t Flags(int32_t direction)
{
    if (direction == sgio::kDxferFromDev) return SRB_EVENT_NOTIFY | SRB_DIR_IN;
    if (direction == sgio::kDxferToDev) return SRB_EVENT_NOTIFY | SRB_DIR_OUT;
    return SRB_EVENT_NOTIFY;
}

}  // namespace

// The SRB and the data of one request, owned here so that a completion after the time-out
// cannot reach the caller's memory.
struct SgIoDevice::Request {
    SRB_ExecSCSICmd srb{};
    std::vector<uint8_t> data;
    platform::Event completion{false, false};
};

SgIoDevice::SgIoDevice(std::shared_ptr<Manager> manager, uint8_t ha, uint8_t target, bool blockDevice)
    : manager_(std::move(manager)), ha_(ha), target_(target), blockDevice_(blockDevice)
{
}

bool SgIoDevice::Control(uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize, uint32_t& returned,
                         uint32_t& error)
{
    if (code == sgio::kSgIo && in && in == out && inSize == sizeof(sgio::SgIoHeader)) {
        returned = inSize;
        return PassThrough(in, error);
    }
    if (code == sgio::kScsiIoctlGetIdLun && outSize >= sizeof(sgio::IdLun)) {
        const sgio::IdLun idLun{int32_t(target_) | int32_t(ha_) << 24, ha_};
        std::memcpy(out, &idLun, returned = sizeof(idLun));
        return true;
    }
    if (code == sgio::kBlkSectGet && blockDevice_ && outSize >= sizeof(uint16_t)) {
        const uint32_t limit = getLe32(&manager_->hostAdapter(ha_).unique[4]) & 0x7FFFFFFFu;
        const uint16_t sectors = uint16_t(std::min<uint32_t>(limit / 512, 0xFFFF));
        std::memcpy(out, &sectors, returned = sizeof(sectors));
        return true;
    }
    error = ENOTTY;
    return false;
}

bool SgIoDevice::PassThrough(void* raw, uint32_t& error)
{
    auto& header = *static_cast<sgio::SgIoHeader*>(raw);
    if (header.interface_id != 'S' || header.cmd_len == 0 || header.cmd_len > 16 || header.iovec_count != 0) {
        error = EINVAL;
        return false;
    }
    const bool in = header.dxfer_direction == sgio::kDxferFromDev;
    const bool out = header.dxfer_direction == sgio::kDxferToDev;
    auto request = std::make_unique<Request>();
    SRB_ExecSCSICmd& srb = request->srb;
    srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb.SRB_HaId = ha_;
    srb.SRB_Target = target_;
    srb.SRB_Flags = Flags(header.dxfer_direction);
    if (in || out) {
        request->data.assign(header.dxfer_len, 0);
        if (out) std::memcpy(request->data.data(), header.dxferp, header.dxfer_len);
        srb.SRB_BufLen = header.dxfer_len;
        srb.SRB_BufPointer = request->data.data();
    }
    srb.SRB_SenseLen = SENSE_LEN;
    srb.SRB_CDBLen = header.cmd_len;
    std::memcpy(srb.CDBByte, header.cmdp, header.cmd_len);
    srb.SRB_PostProc = request->completion.handle();

    const uint32_t start = platform::TickCount();
    const uint32_t timeout = header.timeout ? header.timeout : kDefaultTimeoutMs;
    const bool completed = manager_->sendCommand(&srb) != SS_PENDING || request->completion.wait(timeout);
    header.duration = platform::TickCount() - start;
    header.status = header.masked_status = header.msg_status = header.sb_len_wr = 0;
    header.host_status = header.driver_status = 0;
    header.resid = 0;
    header.info = 0;
    if (!completed) {
        header.host_status = sgio::kDidTimeOut;
        header.info = kSgInfoCheck;
        std::lock_guard<std::mutex> guard(abandonedLock_);
        abandoned_.push_back(std::move(request));
        return true;
    }
    if (srb.SRB_Status != SS_COMP && srb.SRB_Status != SS_ERR) {
        // Refused by the manager: the request never reached a device.
        error = EINVAL;
        return false;
    }
    if (in) std::memcpy(header.dxferp, request->data.data(), header.dxfer_len);
    header.status = srb.SRB_TargStat;
    header.masked_status = uint8_t((srb.SRB_TargStat >> 1) & 0x7F);
    if (srb.SRB_Status == SS_ERR) {
        header.sb_len_wr = uint8_t(std::min<size_t>(header.mx_sb_len, SENSE_LEN));
        std::memcpy(header.sbp, srb.SenseArea, header.sb_len_wr);
        header.driver_status = header.sb_len_wr ? kDriverSense : 0;
        header.info = kSgInfoCheck;
    }
    return true;
}

std::vector<SgIoNode> SgIoNodes(const std::shared_ptr<Manager>& manager)
{
    std::vector<SgIoNode> nodes;
    int generic = 0;
    int cdrom = 0;
    for (uint8_t ha = 0; ha < manager->hostAdapterCount(); ++ha) {
        for (uint8_t target = 0; target < kMaxTargetIds; ++target) {
            const std::shared_ptr<Device> device = manager->device(ha, target, 0);
            if (!device) continue;
            const uint8_t type = device->peripheralType();
            if (type == 4 || type == 5)
                nodes.push_back({"/dev/sr" + std::to_string(cdrom++), std::make_shared<SgIoDevice>(manager, ha, target, true)});
            nodes.push_back({"/dev/sg" + std::to_string(generic++), std::make_shared<SgIoDevice>(manager, ha, target, false)});
        }
    }
    return nodes;
}

}  // namespace emu
