#include "fuzz/FuzzAspi.h"

#include <algorithm>
#include <cstring>

#include "platform/Event.h"
#include "platform/host/Host.h"
#include "transport/AspiManager.h"
#include "transport/ScsiCodes.h"

namespace fuzz {

namespace {

const char* const kModuleFileName = "C:\\windows\\system32\\WNASPI32.DLL";
constexpr uint8_t kNoDevice = 0xFF;
constexpr uint8_t kEventFlag = 0x80;
constexpr uint8_t kTargetStatusCheckCondition = 0x02;
constexpr size_t kFixedSenseLength = 18;

Conversation* conversation = nullptr;
uint16_t alignment = 0;
std::vector<Transfer> transfers;

void PutBe16(std::vector<uint8_t>& out, size_t value)
{
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void FillAdapter(SRB_HAInquiry& srb)
{
    srb.HA_Count = 1;
    srb.HA_SCSI_ID = 7;
    std::memcpy(srb.HA_ManagerId, "FUZZ ASPI", 9);
    std::memcpy(srb.HA_Identifier, "FUZZ_HA", 7);
    const uint8_t unique[8] = {uint8_t(alignment), uint8_t(alignment >> 8), 0x02, 8, 0x00, 0x00, 0x02, 0x00};
    std::memcpy(srb.HA_Unique, unique, sizeof(unique));
}

emu::Direction DirectionOf(uint8_t flags)
{
    if (flags & SRB_DIR_IN) return emu::Direction::In;
    if (flags & SRB_DIR_OUT) return emu::Direction::Out;
    return emu::Direction::None;
}

uint32_t Execute(SRB_ExecSCSICmd& srb)
{
    if (srb.SRB_HaId != 0) return srb.SRB_Status = SS_INVALID_HA;
    if (srb.SRB_Target != 0 || srb.SRB_Lun != 0) return srb.SRB_Status = SS_NO_DEVICE;
    if (transfers.size() >= kCommandBudget) throw RunEnds{};
    emu::Command command;
    command.cdb.assign(srb.CDBByte, srb.CDBByte + std::min<size_t>(srb.SRB_CDBLen, sizeof(srb.CDBByte)));
    command.direction = DirectionOf(srb.SRB_Flags);
    command.length = srb.SRB_BufLen;
    if (command.direction == emu::Direction::Out) {
        command.dataOut.assign(srb.SRB_BufPointer, srb.SRB_BufPointer + srb.SRB_BufLen);
    }
    const Answer answer = conversation->answer(command);
    Transfer transfer{std::move(command.cdb), command.direction, command.length, std::move(command.dataOut), {}, 0};
    if (answer.kind == Answer::Hung) {
        transfers.push_back(transfer);
        return srb.SRB_Status = SS_PENDING;
    }
    if (answer.kind == Answer::Good && command.direction == emu::Direction::In) {
        const size_t n = std::min<size_t>(answer.data.size(), srb.SRB_BufLen);
        if (n > 0) std::memcpy(srb.SRB_BufPointer, answer.data.data(), n);
        transfer.dataIn.assign(answer.data.begin(), answer.data.begin() + long(n));
    }
    srb.SRB_HaStat = answer.kind == Answer::Failed ? answer.haStat : 0;
    srb.SRB_TargStat = answer.kind == Answer::Check ? kTargetStatusCheckCondition : 0;
    if (answer.kind == Answer::Check) {
        uint8_t sense[kFixedSenseLength] = {answer.senseCode, 0, uint8_t(answer.key & 0x0F), 0, 0, 0, 0,
                                            uint8_t(kFixedSenseLength - 8)};
        sense[12] = answer.asc;
        sense[13] = answer.ascq;
        std::memcpy(srb.SenseArea, sense, std::min<size_t>({sizeof(sense), srb.SRB_SenseLen, SENSE_LEN}));
    }
    srb.SRB_Status = answer.kind == Answer::Good ? SS_COMP : SS_ERR;
    transfer.status = srb.SRB_Status;
    transfers.push_back(transfer);
    if (!answer.byEvent) return srb.SRB_Status;
    if ((srb.SRB_Flags & SRB_EVENT_NOTIFY) && srb.SRB_PostProc) platform::SignalEvent(srb.SRB_PostProc);
    return SS_PENDING;
}

uint32_t SendASPI32Command(void* request)
{
    auto* header = static_cast<SRB_Header*>(request);
    switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY: {
        auto& srb = *static_cast<SRB_HAInquiry*>(request);
        if (srb.SRB_HaId != 0) return srb.SRB_Status = SS_INVALID_HA;
        FillAdapter(srb);
        return srb.SRB_Status = SS_COMP;
    }
    case SC_GET_DEV_TYPE: {
        auto& srb = *static_cast<SRB_GDEVBlock*>(request);
        if (srb.SRB_HaId != 0) return srb.SRB_Status = SS_INVALID_HA;
        const int type = srb.SRB_Target == 0 && srb.SRB_Lun == 0 ? conversation->deviceType() : -1;
        if (type < 0) return srb.SRB_Status = SS_NO_DEVICE;
        srb.SRB_DeviceType = uint8_t(type);
        return srb.SRB_Status = SS_COMP;
    }
    case SC_EXEC_SCSI_CMD: return Execute(*static_cast<SRB_ExecSCSICmd*>(request));
    default: return header->SRB_Status = SS_INVALID_CMD;
    }
}

uint32_t GetASPI32SupportInfo() { return (uint32_t(SS_COMP) << 8) | 1; }

}  // namespace

uint8_t InputConversation::next() { return pos_ < size_ ? data_[pos_++] : 0; }

int InputConversation::deviceType()
{
    if (pos_ >= size_) return -1;
    const uint8_t type = next();
    return type == kNoDevice ? -1 : type & 0x1F;
}

Answer InputConversation::answer(const emu::Command&)
{
    Answer answer;
    if (pos_ >= size_) {
        if (++answersAfterInput_ > kAnswersAfterInput) throw RunEnds{};
        answer.kind = Answer::Check;
        answer.key = kSenseNotReady;
        answer.asc = kAscMediumNotPresent;
        return answer;
    }
    const uint8_t kind = next();
    answer.kind = Answer::Kind(kind & 3);
    answer.byEvent = (kind & kEventFlag) != 0;
    switch (answer.kind) {
    case Answer::Good: {
        size_t length = size_t(next()) << 8;
        length |= next();
        length = std::min(length, size_ - pos_);
        answer.data.assign(data_ + pos_, data_ + pos_ + length);
        pos_ += length;
        break;
    }
    case Answer::Check:
        answer.senseCode = (next() & 1) ? 0xF0 : 0x70;
        answer.key = next();
        answer.asc = next();
        answer.ascq = next();
        break;
    case Answer::Hung: break;
    case Answer::Failed: answer.haStat = next(); break;
    }
    return answer;
}

bool InputConversation::choice(uint8_t& value)
{
    if (pos_ >= size_) return false;
    value = next();
    return true;
}

int RecordingConversation::deviceType()
{
    const uint8_t type = device_.peripheralType();
    recorded_.push_back(type);
    return type & 0x1F;
}

Answer RecordingConversation::answer(const emu::Command& command)
{
    const emu::Reply reply = device_.handle(command);
    Answer answer;
    if (reply.neverComplete) {
        answer.kind = Answer::Hung;
        recorded_.push_back(Answer::Hung);
    } else if (reply.good) {
        answer.kind = Answer::Good;
        if (command.direction == emu::Direction::In) {
            const size_t n = std::min<size_t>(reply.data.size(), command.length);
            answer.data.assign(reply.data.begin(), reply.data.begin() + long(n));
        }
        recorded_.push_back(Answer::Good);
        PutBe16(recorded_, answer.data.size());
        recorded_.insert(recorded_.end(), answer.data.begin(), answer.data.end());
    } else {
        answer.kind = Answer::Check;
        answer.senseCode = device_.senseResponseCode();
        answer.key = reply.senseKey;
        answer.asc = reply.asc;
        answer.ascq = reply.ascq;
        recorded_.insert(recorded_.end(), {uint8_t(Answer::Check), uint8_t(answer.senseCode == 0xF0 ? 1 : 0),
                                           answer.key, answer.asc, answer.ascq});
    }
    return answer;
}

bool RecordingConversation::choice(uint8_t& value)
{
    if (planPos_ >= plan_.size()) return false;
    value = plan_[planPos_++];
    recorded_.push_back(value);
    return true;
}

bool InstallManager(Conversation& current, uint16_t alignMask)
{
    conversation = &current;
    alignment = alignMask;
    transfers.clear();
    UnloadASPI32();
    platform::host::RegisterModule(kModuleFileName,
                                   {
                                       {"SendASPI32Command", reinterpret_cast<void*>(&SendASPI32Command)},
                                       {"GetASPI32SupportInfo", reinterpret_cast<void*>(&GetASPI32SupportInfo)},
                                   });
    return InitASPI32();
}

std::vector<Transfer> UninstallManager()
{
    UnloadASPI32();
    platform::host::UnregisterModule(kModuleFileName);
    conversation = nullptr;
    // Moved out, so that a run frees what it allocated (libFuzzer's leak check stays quiet).
    return std::move(transfers);
}

const std::vector<Transfer>& Transfers() { return transfers; }

}  // namespace fuzz
