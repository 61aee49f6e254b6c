#include "emu/CdromDrive.h"
#include "transport/ScsiCodes.h"


namespace emu {

namespace {

constexpr uint8_t kCdromPeripheralType = 0x05;
constexpr uint8_t kStartBit = 0x01;
constexpr uint8_t kLoadEjectBit = 0x02;
constexpr uint8_t kPreventBit = 0x01;
constexpr uint8_t kImmediateBit = 0x01;
constexpr size_t kSixByteCdb = 6;

}  // namespace

CdromDrive::CdromDrive(InquiryData inquiry) : GenericDevice(std::move(inquiry))
{
    this->inquiry().peripheralType = kCdromPeripheralType;
    this->inquiry().removable = true;
    disc_.readTime = [this](uint32_t lba, uint32_t count) { return readTime(lba, count); };
}

Reply CdromDrive::execute(const Command& command)
{
    if (std::optional<Reply> reply = disc_.execute(command)) {
        if (!reply->good && reply->senseKey == kSenseMediumError) reply->busyMs += retryTime();
        return *reply;
    }
    if (std::optional<Reply> reply = teac_.execute(command)) return *reply;
    if (command.cdb.size() < kSixByteCdb) return GenericDevice::execute(command);
    switch (command.cdb[0]) {
    case kStartStopUnit: return startStopUnit(command);
    case kPreventAllowMediumRemoval: return preventAllowMediumRemoval(command);
    case kSetCdSpeed: return setCdSpeed(command);
    case kSetStreaming: return setStreaming(command);
    case kModeSense6:
    case kModeSense10: return timedModeSense(command);
    case kModeSelect6:
    case kModeSelect10: return modeSelectFollowingSpeed(command);
    case kGetConfiguration: return getConfiguration(command);
    case kGetPerformance: return getPerformance(command);
    case kMechanismStatus: return mechanismStatus(command);
    default: return GenericDevice::execute(command);
    }
}

void CdromDrive::powerCycle()
{
    GenericDevice::powerCycle();
    removalPrevented_ = false;
    spinning_ = false;
    teac_.powerOn();
}

Reply CdromDrive::startStopUnit(const Command& command)
{
    const uint8_t b4 = command.cdb[4];
    if (!(b4 & kLoadEjectBit)) {
        Reply reply = Reply::Good();
        // Without the immediate bit the command ends when the disc turns at speed.
        if (b4 & kStartBit) {
            const uint32_t wait = startMotor();
            if (!(command.cdb[1] & kImmediateBit)) reply.busyMs = wait;
        } else {
            spinning_ = false;
        }
        return reply;
    }
    const bool load = b4 & kStartBit;
    if (!load && removalPrevented_)
        return Reply::Check(kSenseIllegalRequest, kAscMediumRemovalPrevented, kAscqRemovalPrevented);
    trayOpen_ = !load;
    spinning_ = false;
    return Reply::Good();
}

Reply CdromDrive::preventAllowMediumRemoval(const Command& command)
{
    removalPrevented_ = command.cdb[4] & kPreventBit;
    return Reply::Good();
}

}  // namespace emu
