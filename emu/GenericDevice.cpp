#include "emu/GenericDevice.h"

#include <algorithm>

#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

namespace emu {

namespace {

constexpr uint8_t kEvpdBit = 0x01;
constexpr uint32_t kRead6LbaMask = 0x1FFFFF;

size_t CdbLength(uint8_t opcode)
{
    switch (opcode >> 5) {
    case 0: return 6;
    case 1:
    case 2: return 10;
    case 4: return 16;
    case 5: return 12;
    default: return 6;
    }
}

}  // namespace

GenericDevice::GenericDevice(InquiryData inquiry) : inquiry_(std::move(inquiry)) {}

Reply GenericDevice::execute(const Command& command)
{
    if (command.cdb.empty() || command.cdb.size() < CdbLength(command.cdb[0])) return Reply::IllegalRequest();
    switch (command.cdb[0]) {
    case kTestUnitReady: return testUnitReady();
    case kInquiry: return inquiryCommand(command);
    case kStartStopUnit: return Reply::Good();
    case kPreventAllowMediumRemoval: return Reply::Good();
    case kReadCapacity: return readCapacity();
    case kRead6:
    case kRead10:
    case kRead12: return read(command);
    case kModeSense6:
    case kModeSense10: return modeSense(command);
    case kModeSelect6:
    case kModeSelect10: return modeSelect(command);
    default: return Reply::InvalidOpcode();
    }
}

Reply GenericDevice::inquiryCommand(const Command& command) const
{
    if (command.cdb[1] & kEvpdBit) return Reply::IllegalRequest();
    std::vector<uint8_t> answer = InquiryAnswer(inquiry_);
    answer.resize(std::min<size_t>(answer.size(), command.cdb[4]));
    return Reply::Good(std::move(answer));
}

Reply GenericDevice::mediumReady() const
{
    if (trayOpen_) return Reply::Check(kSenseNotReady, kAscMediumNotPresent, kAscqTrayOpen);
    if (!medium_) return Reply::Check(kSenseNotReady, kAscMediumNotPresent, kAscqTrayClosed);
    return Reply::Good();
}

Reply GenericDevice::testUnitReady() const { return mediumReady(); }

Reply GenericDevice::readCapacity() const
{
    Reply ready = mediumReady();
    if (!ready.good) return ready;
    std::vector<uint8_t> answer(8, 0);
    const uint32_t blocks = medium_->blockCount();
    putBe32(&answer[0], blocks ? blocks - 1 : 0);
    putBe32(&answer[4], kBlockSize);
    return Reply::Good(std::move(answer));
}

Reply GenericDevice::read(const Command& command) const
{
    const uint8_t* cdb = command.cdb.data();
    uint32_t lba = 0;
    uint32_t count = 0;
    if (cdb[0] == kRead6) {
        lba = getBe24(cdb + 1) & kRead6LbaMask;
        count = cdb[4] ? cdb[4] : 256;
    } else if (cdb[0] == kRead10) {
        lba = getBe32(cdb + 2);
        count = getBe16(cdb + 7);
    } else {
        lba = getBe32(cdb + 2);
        count = getBe32(cdb + 6);
    }
    Reply ready = mediumReady();
    if (!ready.good) return ready;
    if (uint64_t(lba) + count > medium_->blockCount())
        return Reply::Check(kSenseIllegalRequest, kAscLbaOutOfRange);

    // Only as many blocks as the buffer takes are produced: a transfer length far beyond
    // the buffer must not make the emulator allocate it.
    const uint32_t fitting = uint32_t((uint64_t(command.length) + kBlockSize - 1) / kBlockSize);
    const uint32_t produced = std::min(count, fitting);
    std::vector<uint8_t> data(size_t(produced) * kBlockSize);
    for (uint32_t i = 0; i < produced; ++i) {
        if (!medium_->readBlock(lba + i, &data[size_t(i) * kBlockSize])) {
            Reply failed = Reply::Check(kSenseMediumError, kAscUnrecoveredReadError);
            data.resize(size_t(i) * kBlockSize);
            failed.data = std::move(data);
            return failed;
        }
    }
    return Reply::Good(std::move(data));
}

}  // namespace emu
