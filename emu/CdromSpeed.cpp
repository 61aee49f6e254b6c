// The speed behaviour of an emulated CD-ROM drive: SET CD SPEED, vendor speed codes written with
// MODE SELECT, and the capability probes GET CONFIGURATION, GET PERFORMANCE, MECHANISM STATUS.
#include <algorithm>

#include "emu/CdromDrive.h"
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

namespace emu {

namespace {

constexpr int kCurrentSpeedByte = 14;
constexpr size_t kFeatureHeaderLength = 8;
constexpr size_t kPerformanceHeaderLength = 8;
constexpr size_t kPerformanceDescriptorLength = 16;
constexpr size_t kMechanismHeaderLength = 8;
constexpr uint8_t kRequestTypeMask = 0x03;
constexpr uint8_t kOneFeature = 2;
constexpr uint8_t kFeatureCurrent = 0x01;

constexpr size_t kTenByteCdb = 10;
constexpr size_t kTwelveByteCdb = 12;
constexpr size_t kStreamingDescriptorLength = 28;

Reply Timed(Reply reply, uint32_t ms)
{
    reply.busyMs = ms;
    return reply;
}

Reply Cut(std::vector<uint8_t> answer, size_t allocation)
{
    answer.resize(std::min(answer.size(), allocation));
    return Reply::Good(std::move(answer));
}

}  // namespace

size_t SpeedModel::stepForRequest(uint32_t kbps) const
{
    size_t chosen = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].lowestRequest <= kbps) chosen = i;
    }
    return chosen;
}

int SpeedModel::stepForCode(int code) const
{
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].code == code) return int(i);
    }
    return -1;
}

void CdromDrive::setSpeedModel(SpeedModel model)
{
    speed_ = std::move(model);
    std::sort(speed_.steps.begin(), speed_.steps.end(),
              [](const SpeedStep& a, const SpeedStep& b) { return a.lowestRequest < b.lowestRequest; });
    if (speed_.current >= speed_.steps.size()) speed_.current = 0;
    const SpeedStep* step = speed_.currentStep();
    if (step && step->code >= 0) writeSpeedCode(uint8_t(step->code));
    showCurrentStep();
}

// The capabilities page reports the step's speed in its current values.
void CdromDrive::showCurrentStep()
{
    const SpeedStep* step = speed_.currentStep();
    if (!step) return;
    ModePageStore::Values values;
    for (size_t c = 0; c < values.size(); ++c) values[c] = modePages().page(PageControl(c), kPageCapabilities);
    std::vector<uint8_t>& current = values[size_t(PageControl::Current)];
    if (current.size() < kCurrentSpeedByte + 2) return;
    putBe16(&current[kCurrentSpeedByte], step->reportedKBps);
    modePages().setPage(values);
}

void CdromDrive::writeSpeedCode(uint8_t code)
{
    const SpeedCodeByte& where = speed_.codeByte;
    ModePageStore::Values values;
    for (size_t c = 0; c < values.size(); ++c) values[c] = modePages().page(PageControl(c), where.page);
    std::vector<uint8_t>& current = values[size_t(PageControl::Current)];
    if (where.page == 0 || current.size() <= where.index) return;
    current[where.index] = uint8_t((current[where.index] & ~where.mask) | (code & where.mask));
    modePages().setPage(values);
}

Reply CdromDrive::setCdSpeed(const Command& command)
{
    if (speed_.steps.empty() || !speed_.answersSetCdSpeed) return Reply::InvalidOpcode();
    if (command.cdb.size() < kTwelveByteCdb) return Reply::IllegalRequest();
    if (!speed_.keepsStepOnSetCdSpeed) selectStep(speed_.stepForRequest(getBe16(&command.cdb[2])));
    return Timed(Reply::Good(), speed_.commandMs);
}

// One performance descriptor: read size (KB) over read time (ms) is the rate asked for.
Reply CdromDrive::setStreaming(const Command& command)
{
    if (speed_.steps.empty() || !speed_.answersSetStreaming) return Reply::InvalidOpcode();
    if (command.cdb.size() < kTwelveByteCdb || getBe16(&command.cdb[9]) < kStreamingDescriptorLength ||
        command.dataOut.size() < kStreamingDescriptorLength)
        return Reply::IllegalRequest();
    const uint8_t* descriptor = command.dataOut.data();
    const uint32_t readTime = getBe32(descriptor + 16);
    if (readTime == 0) return Reply::Check(kSenseIllegalRequest, kAscInvalidFieldInParameterList);
    selectStep(speed_.stepForRequest(uint32_t(uint64_t(getBe32(descriptor + 12)) * 1000 / readTime)));
    return Timed(Reply::Good(), speed_.commandMs);
}

// Mode page accesses take time only on drives with a speed model, so that a speed detection
// runs on the virtual clock while other drives answer at once.
Reply CdromDrive::timedModeSense(const Command& command) const
{
    return Timed(modeSense(command), speed_.steps.empty() ? 0 : speed_.commandMs);
}

// A written vendor code selects its step; a code the drive does not keep is replaced by the one
// it stores instead, which MODE SENSE then reports.
Reply CdromDrive::modeSelectFollowingSpeed(const Command& command)
{
    Reply reply = Timed(modeSelect(command), speed_.steps.empty() ? 0 : speed_.commandMs);
    const SpeedCodeByte& where = speed_.codeByte;
    if (!reply.good || where.page == 0) return reply;
    const std::vector<uint8_t> page = modePages().page(PageControl::Current, where.page);
    if (page.size() <= where.index) return reply;
    uint8_t code = page[where.index] & where.mask;
    const auto kept = speed_.keeps.find(code);
    if (kept != speed_.keeps.end()) {
        code = kept->second;
        writeSpeedCode(code);
    }
    const int step = speed_.stepForCode(code);
    if (step >= 0) selectStep(size_t(step));
    return reply;
}

Reply CdromDrive::getConfiguration(const Command& command) const
{
    if (speed_.features.empty()) return Reply::InvalidOpcode();
    if (command.cdb.size() < kTenByteCdb) return Reply::IllegalRequest();
    const uint8_t requestType = command.cdb[1] & kRequestTypeMask;
    const uint16_t start = uint16_t(getBe16(&command.cdb[2]));
    std::vector<uint8_t> answer(kFeatureHeaderLength, 0);
    for (const ConfigurationFeature& feature : speed_.features) {
        const bool wanted = requestType == kOneFeature ? feature.code == start : feature.code >= start;
        if (!wanted) continue;
        const size_t at = answer.size();
        answer.resize(at + 4 + feature.data.size());
        putBe16(&answer[at], feature.code);
        answer[at + 2] = kFeatureCurrent;
        answer[at + 3] = uint8_t(feature.data.size());
        std::copy(feature.data.begin(), feature.data.end(), answer.begin() + long(at + 4));
    }
    putBe32(&answer[0], uint32_t(answer.size() - 4));
    return Timed(Cut(std::move(answer), getBe16(&command.cdb[7])), speed_.commandMs);
}

Reply CdromDrive::getPerformance(const Command& command) const
{
    if (speed_.performanceDescriptors == 0 || speed_.steps.empty()) return Reply::InvalidOpcode();
    if (command.cdb.size() < kTwelveByteCdb) return Reply::IllegalRequest();
    const size_t count = std::min<size_t>(speed_.performanceDescriptors, getBe16(&command.cdb[8]));
    std::vector<uint8_t> answer(kPerformanceHeaderLength + count * kPerformanceDescriptorLength, 0);
    putBe32(&answer[0], uint32_t(answer.size() - 4));
    const uint32_t endLba = medium() ? medium()->blockCount() : 0;
    for (size_t i = 0; i < count; ++i) {
        uint8_t* d = &answer[kPerformanceHeaderLength + i * kPerformanceDescriptorLength];
        putBe32(d + 4, speed_.steps.front().reportedKBps);
        putBe32(d + 8, endLba);
        putBe32(d + 12, speed_.currentStep()->reportedKBps);
    }
    return Timed(Cut(std::move(answer), command.length), speed_.commandMs);
}

Reply CdromDrive::mechanismStatus(const Command& command) const
{
    if (!speed_.mechanismStatus) return Reply::InvalidOpcode();
    if (command.cdb.size() < kTwelveByteCdb) return Reply::IllegalRequest();
    std::vector<uint8_t> answer(kMechanismHeaderLength, 0);
    answer[1] = uint8_t(speed_.mechanismState << 5);
    putBe24(&answer[2], speed_.mechanismLba);
    return Timed(Cut(std::move(answer), getBe16(&command.cdb[8])), speed_.commandMs);
}

}  // namespace emu
