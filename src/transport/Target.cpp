#include "transport/Target.h"

#include <algorithm>
#include <cstring>

#include "platform/Assert.h"
#include "platform/Event.h"
#include "platform/MessageBox.h"
#include "transport/AspiManager.h"
#include "transport/ScsiCodes.h"
#include "transport/Text.h"

namespace {

// Clears the pending flag on every way out of ExecSCSICmd, assertions included, so one
// programming error does not lock the target for good.
class PendingScope {
public:
    explicit PendingScope(std::atomic<bool>& flag) : flag_(flag) {}
    ~PendingScope() { flag_ = false; }

private:
    std::atomic<bool>& flag_;
};

uint8_t DirectionFlags(DataDirection direction)
{
    switch (direction) {
    case DataDirection::In: return SRB_EVENT_NOTIFY | SRB_DIR_IN;
    case DataDirection::Out: return SRB_EVENT_NOTIFY | SRB_DIR_OUT;
    case DataDirection::None: break;
    }
    return SRB_EVENT_NOTIFY;
}

}  // namespace

TTarget::TTarget(uint8_t haId, uint8_t targetId, uint8_t lun, int32_t timeout)
    : haId_(haId), targetId_(targetId), lun_(lun), defaultTimeout_(timeout > 0 ? uint32_t(timeout) : kDefaultTimeout)
{
    KALMOR_ASSERT(haId < HostAdaptorCount(), "Targets", "Target.init: illegal HaId");
    KALMOR_ASSERT(lun <= 7, "Targets", "Target.init: illegal Lun");
    const HostAdaptor& adaptor = HostAdaptorRecord(haId);
    if (targetId >= adaptor.MaxTargets) return;

    SRB_GDEVBlock query;
    std::memset(&query, 0, sizeof(query));
    query.SRB_Cmd = SC_GET_DEV_TYPE;
    query.SRB_HaId = haId;
    query.SRB_Target = targetId;
    query.SRB_Lun = lun;
    if (ASPISendCommand(&query, defaultTimeout_) != SS_COMP) return;
    deviceType_ = query.SRB_DeviceType;

    if (adaptor.Align != 0) {
        doubleBuffer_ = new uint8_t[adaptor.Align + kDoubleBufferSize];
        const uintptr_t misalignment = reinterpret_cast<uintptr_t>(doubleBuffer_) & adaptor.Align;
        doubleBufferOffset_ = misalignment == 0 ? 0 : uint32_t(adaptor.Align + 1 - misalignment);
    }

    initialised_ = true;
    Inquire();
}

TTarget::~TTarget() { delete[] doubleBuffer_; }

void TTarget::Inquire()
{
    uint8_t data[96] = {};
    const uint8_t cdb[6] = {kInquiry, LunBits(), 0, 0, sizeof(data), 0};
    if (!ExecSCSICmd(cdb, sizeof(cdb), data, sizeof(data), DataDirection::In, true, 0)) {
        initialised_ = false;
        return;
    }
    deviceType_ = data[0] & 0x1F;
    ansiVersion_ = data[2] & 0x07;

    const int additionalLength = data[4];
    if (additionalLength < 31) return;
    std::memcpy(vendor_, data + 8, 8);
    std::memcpy(product_, data + 16, 16);
    std::memcpy(revision_, data + 32, 4);

    if (additionalLength < 32) return;
    const int last = std::min(19, additionalLength - 32);
    for (int i = 0; i <= last; ++i) {
        if (IsIdentifierChar(data[36 + i])) vendorSpecific_ += char(data[36 + i]);
    }
}

bool TTarget::ExecSCSICmd(const uint8_t* cdb, uint8_t cdbLen, void* buffer, uint32_t bufLen, DataDirection direction,
                          bool repeatOnUnitAttention, uint32_t timeout)
{
    AssertInitialised();
    const bool wasPending = pending_.exchange(true);
    KALMOR_ASSERT(!wasPending, "Targets", "ExecSCSICmd: SRBpending!");
    PendingScope pendingScope(pending_);
    KALMOR_ASSERT(cdbLen >= 1 && cdbLen <= 16, "Targets", "ExecSCSICmd: illegal CDBLen");

    std::memset(&srb_, 0, sizeof(srb_));
    const uint32_t align = ::HostAdaptorRecord(haId_).Align;
    uint8_t* aligned = doubleBuffer_ ? doubleBuffer_ + doubleBufferOffset_ : nullptr;
    const bool useDoubleBuffer = aligned && (reinterpret_cast<uintptr_t>(buffer) & align) != 0;
    if (useDoubleBuffer && bufLen > kDoubleBufferSize) {
        KALMOR_ASSERT(direction != DataDirection::Out, "Targets", "ExecSCSICmd: DoubleBufferSize < BufLen!");
        // Would run past the double buffer: refused, nothing sent.
        return false;
    }

    srb_.SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb_.SRB_HaId = haId_;
    srb_.SRB_Flags = DirectionFlags(direction);
    srb_.SRB_Target = targetId_;
    srb_.SRB_Lun = lun_;
    srb_.SRB_BufLen = bufLen;
    srb_.SRB_BufPointer = useDoubleBuffer ? aligned : static_cast<uint8_t*>(buffer);
    srb_.SRB_SenseLen = SENSE_LEN;
    srb_.SRB_CDBLen = cdbLen;
    std::memcpy(srb_.CDBByte, cdb, cdbLen);
    // Data in as well: bytes the drive does not send keep the caller's values, exactly as they
    // would in an aligned buffer (managers need not report how much they transferred).
    if (useDoubleBuffer && direction != DataDirection::None) std::memcpy(aligned, buffer, bufLen);

    const uintptr_t sent = reinterpret_cast<uintptr_t>(srb_.SRB_BufPointer);
    if ((sent & align) != 0) {
        platform::ShowMessage(platform::MessageKind::Error, "ExecSCSICmd: BufferAlignment (mask=" + IntToHex(align, 8) +
                                                                ", buf=" + IntToHex(uint32_t(sent), 8));
    }

    if (!SendAttempts(repeatOnUnitAttention, timeout != 0 ? timeout : defaultTimeout_)) {
        platform::ShowMessage(platform::MessageKind::Error, "Böser Fehler des ASPI-Managers: SRB_Status = SS_PENDING");
    }

    if (srb_.SRB_Status != SS_COMP) return false;
    if (useDoubleBuffer && direction == DataDirection::In) std::memcpy(buffer, aligned, bufLen);
    return true;
}

// Sends the SRB, and once more after a unit attention when asked to. False when the
// manager never completed it within the timeout.
bool TTarget::SendAttempts(bool repeatOnUnitAttention, uint32_t timeout)
{
    for (int attempts = 0; attempts < 2; ++attempts) {
        {
            platform::Event completion(false, false);
            KALMOR_ASSERT(completion.valid(), "Targets", "CreateEvent=NULL");
            srb_.SRB_PostProc = completion.handle();
            if (ASPISendCommand(&srb_, timeout) == SS_PENDING) {
                if (completion.wait(timeout)) completion.reset();
            }
        }
        const SenseInfo sense = Sense();
        const bool unitAttention =
            srb_.SRB_Status == SS_ERR && sense.valid && srb_.SenseArea[2] == kSenseUnitAttention;
        // The sense of the last attempt stays for the caller.
        if (!repeatOnUnitAttention || !unitAttention || attempts == 1) break;
        std::memset(srb_.SenseArea, 0, sizeof(srb_.SenseArea));
    }
    return srb_.SRB_Status != SS_PENDING;
}

void TTarget::AssertInitialised() const { KALMOR_ASSERT(initialised_, "Targets", "TTarget: not initialised"); }

uint8_t TTarget::HaId() const
{
    AssertInitialised();
    return haId_;
}

uint8_t TTarget::TargetId() const
{
    AssertInitialised();
    return targetId_;
}

uint8_t TTarget::Lun() const
{
    AssertInitialised();
    return lun_;
}

uint8_t TTarget::DeviceType() const
{
    AssertInitialised();
    return deviceType_;
}

uint8_t TTarget::AnsiVersion() const
{
    AssertInitialised();
    return ansiVersion_;
}

std::string TTarget::Vendor() const
{
    AssertInitialised();
    return vendor_;
}

std::string TTarget::Product() const
{
    AssertInitialised();
    return product_;
}

std::string TTarget::Revision() const
{
    AssertInitialised();
    return revision_;
}

std::string TTarget::VendorSpecific() const
{
    AssertInitialised();
    return vendorSpecific_;
}

std::string TTarget::HostAdaptorName() const
{
    AssertInitialised();
    return ::HostAdaptorName(haId_);
}

std::string TTarget::HostAdaptorInfo() const
{
    AssertInitialised();
    return ::HostAdaptorInfo(haId_);
}

uint8_t TTarget::LastStatus() const
{
    AssertInitialised();
    return srb_.SRB_Status;
}

SenseInfo TTarget::Sense() const
{
    AssertInitialised();
    SenseInfo sense;
    sense.responseCode = srb_.SenseArea[0] & 0x7F;
    sense.valid = (srb_.SenseArea[0] & 0x80) != 0;
    sense.senseKey = srb_.SenseArea[2] & 0x0F;
    sense.asc = srb_.SenseArea[12];
    sense.ascq = srb_.SenseArea[13];
    return sense;
}

const ModeSenseCounters& TTarget::Counters() const
{
    AssertInitialised();
    return counters_;
}
