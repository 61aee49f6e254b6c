#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <thread>
#include <tuple>

#include "emu/Emulator.h"
#include "platform/Assert.h"
#include "platform/Event.h"
#include "platform/Time.h"
#include "transport/Bytes.h"

namespace emu {

namespace {

constexpr uint8_t kTargetStatusCheckCondition = 0x02;
constexpr size_t kFixedSenseLength = 18;
constexpr uint8_t kMaxLun = 7;
constexpr uint8_t kMaxTargetIds = 16;
// A transfer limit below 64 KB in HA_Unique is not taken seriously by anyone.
constexpr uint32_t kMinTransferLimit = 0x10000;

std::array<uint8_t, 16> Padded(const std::string& text)
{
    std::array<uint8_t, 16> bytes{};
    std::memcpy(bytes.data(), text.data(), std::min(text.size(), bytes.size()));
    return bytes;
}

// Word alignment, residual byte counts, 8 targets, 128 KB transfers.
std::array<uint8_t, 16> DefaultUnique()
{
    std::array<uint8_t, 16> unique{};
    unique[0] = 0x01;
    unique[2] = 0x02;
    unique[3] = 8;
    unique[6] = 0x02;
    return unique;
}

uint32_t TransferLimit(const HostAdapter& adapter)
{
    return std::max(getLe32(&adapter.unique[4]) & 0x7FFFFFFFu, kMinTransferLimit);
}

std::vector<uint8_t> FixedSense(uint8_t responseCode, const Reply& reply)
{
    std::vector<uint8_t> sense(kFixedSenseLength, 0);
    sense[0] = responseCode;
    sense[2] = reply.senseKey & 0x0F;
    sense[7] = uint8_t(kFixedSenseLength - 8);
    sense[12] = reply.asc;
    sense[13] = reply.ascq;
    return sense;
}

// Direction flags of an execute SRB; nullopt for both bits at once.
std::optional<Direction> DirectionOf(uint8_t flags)
{
    const uint8_t bits = flags & (SRB_DIR_IN | SRB_DIR_OUT);
    if (bits == SRB_DIR_IN) return Direction::In;
    if (bits == SRB_DIR_OUT) return Direction::Out;
    if (bits == 0) return Direction::None;
    return std::nullopt;
}

struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
};

}  // namespace

struct Manager::Impl {
    mutable std::mutex lock;  // everything below but the devices' own state
    std::mutex deviceLock;    // devices carry out one command at a time
    std::deque<HostAdapter> adapters;  // a deque keeps references from addHostAdapter valid
    std::map<std::tuple<uint8_t, uint8_t, uint8_t>, std::shared_ptr<Device>> devices;
    std::optional<uint32_t> supportInfoOverride;
    Completion completion = Completion::Synchronous;
    std::vector<std::shared_ptr<LogEntry>> log;
    size_t srbCount = 0;
    std::vector<Worker> workers;

    const HostAdapter* adapter(uint8_t ha) const
    {
        return ha < adapters.size() ? &adapters[ha] : nullptr;
    }
    std::shared_ptr<Device> deviceAt(uint8_t ha, uint8_t target, uint8_t lun) const;
    uint32_t haInquiry(SRB_HAInquiry* srb);
    uint32_t getDeviceType(SRB_GDEVBlock* srb);
    uint32_t execute(SRB_ExecSCSICmd* srb);
    uint8_t refusal(const SRB_ExecSCSICmd* srb, std::shared_ptr<Device>& device) const;
    void deliver(SRB_ExecSCSICmd* srb, LogEntry& entry, const Reply& reply, uint8_t senseCode);
    void reapWorkers();
};

std::shared_ptr<Device> Manager::Impl::deviceAt(uint8_t ha, uint8_t target, uint8_t lun) const
{
    const HostAdapter* a = adapter(ha);
    if (!a || target >= a->maxTargets || lun > kMaxLun) return nullptr;
    auto it = devices.find({ha, target, lun});
    return it == devices.end() ? nullptr : it->second;
}

uint32_t Manager::Impl::haInquiry(SRB_HAInquiry* srb)
{
    std::lock_guard<std::mutex> guard(lock);
    const HostAdapter* a = adapter(srb->SRB_HaId);
    if (!a) return srb->SRB_Status = SS_INVALID_HA;
    if (a->inquiryFails) return srb->SRB_Status = SS_ERR;
    srb->HA_Count = uint8_t(std::min<size_t>(adapters.size(), 255));
    srb->HA_SCSI_ID = a->scsiId;
    std::memcpy(srb->HA_ManagerId, a->managerId.data(), 16);
    std::memcpy(srb->HA_Identifier, a->identifier.data(), 16);
    std::memcpy(srb->HA_Unique, a->unique.data(), 16);
    return srb->SRB_Status = SS_COMP;
}

uint32_t Manager::Impl::getDeviceType(SRB_GDEVBlock* srb)
{
    std::lock_guard<std::mutex> guard(lock);
    if (!adapter(srb->SRB_HaId)) return srb->SRB_Status = SS_INVALID_HA;
    auto device = deviceAt(srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun);
    if (!device) return srb->SRB_Status = SS_NO_DEVICE;
    srb->SRB_DeviceType = device->peripheralType();
    return srb->SRB_Status = SS_COMP;
}

// The status refusing a malformed or misaddressed execute SRB, or 0 when it can run.
uint8_t Manager::Impl::refusal(const SRB_ExecSCSICmd* srb, std::shared_ptr<Device>& device) const
{
    const HostAdapter* a = adapter(srb->SRB_HaId);
    if (!a) return SS_INVALID_HA;
    if (srb->SRB_CDBLen == 0 || srb->SRB_CDBLen > sizeof(srb->CDBByte)) return SS_INVALID_CMD;
    const auto direction = DirectionOf(srb->SRB_Flags);
    if (!direction) return SS_INVALID_CMD;
    if (*direction != Direction::None) {
        if (srb->SRB_BufLen > TransferLimit(*a)) return SS_INVALID_CMD;
        if (srb->SRB_BufLen > 0 && !srb->SRB_BufPointer) return SS_INVALID_CMD;
    }
    device = deviceAt(srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun);
    return device ? 0 : SS_NO_DEVICE;
}

uint32_t Manager::Impl::execute(SRB_ExecSCSICmd* srb)
{
    auto entry = std::make_shared<LogEntry>();
    const auto* raw = reinterpret_cast<const uint8_t*>(srb);
    entry->srb.assign(raw, raw + sizeof(SRB_ExecSCSICmd));
    entry->haId = srb->SRB_HaId;
    entry->target = srb->SRB_Target;
    entry->lun = srb->SRB_Lun;
    entry->cdb.assign(srb->CDBByte, srb->CDBByte + std::min<size_t>(srb->SRB_CDBLen, sizeof(srb->CDBByte)));
    entry->direction = DirectionOf(srb->SRB_Flags).value_or(Direction::None);
    entry->length = srb->SRB_BufLen;

    std::shared_ptr<Device> device;
    uint8_t senseCode = 0;
    {
        std::lock_guard<std::mutex> guard(lock);
        reapWorkers();
        log.push_back(entry);
        const uint8_t refused = refusal(srb, device);
        if (refused) {
            entry->status = refused;
            return srb->SRB_Status = refused;
        }
        senseCode = device->senseResponseCode();
    }
    srb->SRB_Status = SS_PENDING;

    Command command;
    command.lun = srb->SRB_Lun;
    command.cdb = entry->cdb;
    command.direction = entry->direction;
    command.length = srb->SRB_BufLen;
    if (command.direction == Direction::Out)
        command.dataOut.assign(srb->SRB_BufPointer, srb->SRB_BufPointer + srb->SRB_BufLen);
    {
        std::lock_guard<std::mutex> guard(lock);
        entry->dataOut = command.dataOut;
    }

    // The device runs in the caller's thread even when a worker delivers the completion:
    // a program sends one target's commands from one thread at a time anyway.
    Reply reply;
    {
        std::lock_guard<std::mutex> guard(deviceLock);
        reply = device->handle(command);
    }
    if (reply.neverComplete) return SS_PENDING;

    std::unique_lock<std::mutex> guard(lock);
    if (completion == Completion::Synchronous) {
        guard.unlock();
        deliver(srb, *entry, reply, senseCode);
        return srb->SRB_Status;
    }
    platform::AsyncCompletionBegin();
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([this, srb, entry, reply = std::move(reply), senseCode, done] {
        deliver(srb, *entry, reply, senseCode);
        platform::AsyncCompletionEnd();
        *done = true;
    });
    workers.push_back({std::move(thread), done});
    return SS_PENDING;
}

// Writes a reply into the SRB, then its status, then signals its event, as a manager
// completing a command does. The lock is only taken around the log update: a busy
// command really sleeps in the Windows build.
void Manager::Impl::deliver(SRB_ExecSCSICmd* srb, LogEntry& entry, const Reply& reply, uint8_t senseCode)
{
    if (reply.busyMs) platform::SleepMs(reply.busyMs);
    if (entry.direction == Direction::In && !reply.data.empty()) {
        const size_t n = std::min<size_t>(reply.data.size(), srb->SRB_BufLen);
        std::memcpy(srb->SRB_BufPointer, reply.data.data(), n);
    }
    std::vector<uint8_t> sense;
    srb->SRB_HaStat = 0;
    if (reply.good) {
        srb->SRB_TargStat = 0;
    } else {
        sense = FixedSense(senseCode, reply);
        const size_t n = std::min<size_t>({sense.size(), srb->SRB_SenseLen, size_t(SENSE_LEN)});
        std::memcpy(srb->SenseArea, sense.data(), n);
        srb->SRB_TargStat = kTargetStatusCheckCondition;
    }
    const uint8_t status = reply.good ? SS_COMP : SS_ERR;
    {
        std::lock_guard<std::mutex> guard(lock);
        entry.sense = std::move(sense);
        entry.status = status;
    }
    srb->SRB_Status = status;
    if ((srb->SRB_Flags & SRB_EVENT_NOTIFY) && srb->SRB_PostProc) platform::SignalEvent(srb->SRB_PostProc);
}

void Manager::Impl::reapWorkers()
{
    for (auto it = workers.begin(); it != workers.end();) {
        if (*it->done) {
            it->thread.join();
            it = workers.erase(it);
        } else {
            ++it;
        }
    }
}

Manager::Manager() : impl_(std::make_unique<Impl>()) {}

Manager::~Manager()
{
    std::vector<Worker> workers;
    {
        std::lock_guard<std::mutex> guard(impl_->lock);
        workers.swap(impl_->workers);
    }
    for (Worker& w : workers) w.thread.join();
}

HostAdapter& Manager::addHostAdapter(const std::string& identifier, uint8_t scsiId)
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    HostAdapter& a = impl_->adapters.emplace_back();
    a.scsiId = scsiId;
    a.identifier = Padded(identifier);
    a.managerId = Padded("ASPI for WIN32");
    a.unique = DefaultUnique();
    return a;
}

HostAdapter& Manager::hostAdapter(uint8_t ha)
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    KALMOR_ASSERT(ha < impl_->adapters.size(), "Emulator", "hostAdapter: no such host adapter");
    return impl_->adapters[ha];
}

size_t Manager::hostAdapterCount() const
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    return impl_->adapters.size();
}

void Manager::attach(uint8_t ha, uint8_t target, uint8_t lun, std::shared_ptr<Device> device)
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (target >= kMaxTargetIds || lun > kMaxLun) return;
    if (device)
        impl_->devices[{ha, target, lun}] = std::move(device);
    else
        impl_->devices.erase({ha, target, lun});
}

std::shared_ptr<Device> Manager::device(uint8_t ha, uint8_t target, uint8_t lun) const
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    auto it = impl_->devices.find({ha, target, lun});
    return it == impl_->devices.end() ? nullptr : it->second;
}

void Manager::setSupportInfoOverride(uint32_t value)
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    impl_->supportInfoOverride = value;
}

void Manager::setCompletion(Completion completion)
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    impl_->completion = completion;
}

uint32_t Manager::getSupportInfo()
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    if (impl_->supportInfoOverride) return *impl_->supportInfoOverride;
    return (uint32_t(SS_COMP) << 8) | uint32_t(std::min<size_t>(impl_->adapters.size(), 255));
}

uint32_t Manager::sendCommand(void* srb)
{
    {
        std::lock_guard<std::mutex> guard(impl_->lock);
        ++impl_->srbCount;
    }
    if (!srb) return SS_INVALID_CMD;
    auto* header = static_cast<SRB_Header*>(srb);
    switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY:
        return impl_->haInquiry(static_cast<SRB_HAInquiry*>(srb));
    case SC_GET_DEV_TYPE:
        return impl_->getDeviceType(static_cast<SRB_GDEVBlock*>(srb));
    case SC_EXEC_SCSI_CMD:
        return impl_->execute(static_cast<SRB_ExecSCSICmd*>(srb));
    default:
        return header->SRB_Status = SS_INVALID_CMD;
    }
}

std::vector<LogEntry> Manager::log() const
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    std::vector<LogEntry> entries;
    entries.reserve(impl_->log.size());
    for (const auto& e : impl_->log) entries.push_back(*e);
    return entries;
}

std::vector<LogEntry> Manager::takeCompletedLog()
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    std::vector<LogEntry> taken;
    std::vector<std::shared_ptr<LogEntry>> pending;
    for (auto& e : impl_->log) {
        if (e->status != 0)
            taken.push_back(*e);
        else
            pending.push_back(e);
    }
    impl_->log.swap(pending);
    return taken;
}

void Manager::clearLog()
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    impl_->log.clear();
}

size_t Manager::srbCount() const
{
    std::lock_guard<std::mutex> guard(impl_->lock);
    return impl_->srbCount;
}

}  // namespace emu
