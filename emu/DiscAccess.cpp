#include "emu/DiscAccess.h"

#include <algorithm>
#include <iterator>

#include "emu/CdromDrive.h"
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

namespace emu {

namespace {

constexpr size_t kHeader6 = 4;
constexpr size_t kHeader10 = 8;
constexpr size_t kBlockDescriptorLength = 8;
constexpr uint8_t kMsfBit = 0x02;
constexpr uint8_t kTocFormatToc = 0x00;
constexpr uint8_t kTocFormatFullToc = 0x02;

// One row per family, in DriveFamily order.
const DiscReadCommands kFamilyCommands[] = {
    // readCd, D8, D4 12-byte, D4 10-byte, NEC switch, big-endian audio
    {false, false, false, false, false, false},  // 0 UNKNOWN
    {false, true, false, false, false, false},   // 1 CDDA12
    {false, true, false, false, false, false},   // 2 TEACSCSI
    {false, true, false, false, false, false},   // 3 PLEXTOR
    {true, false, false, false, false, false},   // 4 MMC
    {false, false, false, false, false, false},  // 5 TOSHIBA
    {false, false, false, false, false, true},   // 6 PHILIPS_CDD2000
    {false, false, false, false, false, true},   // 7 PHILIPS_CDD2600
    {false, false, true, false, false, false},   // 8 MATSHITA
    {false, false, false, true, true, false},    // 9 NEC
};

}  // namespace

DiscReadCommands DiscReadCommandsOfFamily(uint8_t family)
{
    return family < std::size(kFamilyCommands) ? kFamilyCommands[family] : kFamilyCommands[0];
}

const Disc* DiscAccess::disc() const { return dynamic_cast<const Disc*>(drive_.medium().get()); }

std::optional<Reply> DiscAccess::notReady() const
{
    if (drive_.trayOpen()) return Reply::Check(kSenseNotReady, kAscMediumNotPresent, kAscqTrayOpen);
    if (!drive_.medium()) return Reply::Check(kSenseNotReady, kAscMediumNotPresent, kAscqTrayClosed);
    if (disc() && disc()->becomingReady()) return Reply::Check(kSenseNotReady, kAscNotReady, kAscqBecomingReady);
    return std::nullopt;
}

void DiscAccess::changeDisc(std::shared_ptr<Disc> disc)
{
    drive_.setMedium(std::move(disc));
    mediumChanged_ = true;
    density_ = kDensityDefault;
    blockLength_ = kBlockSize;
}

std::optional<Reply> DiscAccess::execute(const Command& command)
{
    if (command.cdb.empty() || command.cdb[0] == kInquiry) return std::nullopt;
    if (mediumChanged_) {
        mediumChanged_ = false;
        return Reply::Check(kSenseUnitAttention, kAscMediumChanged);
    }
    const uint8_t opcode = command.cdb[0];
    const size_t length = command.cdb.size();
    switch (opcode) {
    case kTestUnitReady:
    case kReadCapacity:
        // Without a disc the drive gives its own answer.
        if (drive_.medium()) return notReady();
        return std::nullopt;
    case kModeSelect6:
    case kModeSelect10: return modeSelectBlockSize(command);
    case kNecModeSense:
        if (commands_.necAudioSwitch && length >= 10) return necPageIn(command);
        return std::nullopt;
    case kNecModeSelect:
        if (commands_.necAudioSwitch && length >= 10) return necPageOut(command);
        return std::nullopt;
    default: break;
    }

    const bool ours = (opcode == kReadToc && length >= 10) || (opcode == kRead6 && length >= 6) ||
                      (opcode == kRead10 && length >= 10) || (opcode == kRead12 && length >= 12) ||
                      (opcode == kReadCd && length >= 12 && commands_.readCd) ||
                      (opcode == kReadCddaD8 && length >= 12 && commands_.cddaD8) ||
                      (opcode == kReadCddaD4 && length >= 12 && commands_.cddaD4Long) ||
                      (opcode == kReadCddaD4 && length == 10 && commands_.cddaD4Short);
    if (!ours) return std::nullopt;
    if (std::optional<Reply> reply = notReady()) return reply;
    if (!disc()) return std::nullopt;  // a plain medium: the drive reads it as a disk
    switch (opcode) {
    case kReadToc: return readToc(command);
    case kReadCd: return readCd(command);
    case kReadCddaD8:
    case kReadCddaD4: return readCdda(command);
    default: return readBlocks(command);
    }
}

Reply DiscAccess::readToc(const Command& command) const
{
    const uint8_t* cdb = command.cdb.data();
    const uint8_t format = cdb[2] & 0x0F;
    std::vector<uint8_t> answer;
    if (format == kTocFormatToc) answer = disc()->toc(cdb[1] & kMsfBit, cdb[6]);
    else if (format == kTocFormatFullToc) answer = disc()->fullToc();
    else return Reply::IllegalRequest();
    answer.resize(std::min<size_t>(answer.size(), getBe16(cdb + 7)));
    return Reply::Good(std::move(answer));
}

// Only a list of a header and one block descriptor changes the block size; lists with pages
// go to the drive's mode pages as before.
std::optional<Reply> DiscAccess::modeSelectBlockSize(const Command& command)
{
    const uint8_t* cdb = command.cdb.data();
    const bool tenByte = cdb[0] == kModeSelect10;
    if (command.cdb.size() < (tenByte ? 10u : 6u)) return std::nullopt;
    const size_t header = tenByte ? kHeader10 : kHeader6;
    const size_t listLength = std::min<size_t>(tenByte ? getBe16(cdb + 7) : cdb[4], command.dataOut.size());
    if (listLength != header + kBlockDescriptorLength) return std::nullopt;
    const uint8_t* list = command.dataOut.data();
    const size_t descriptorLength = tenByte ? getBe16(list + 6) : list[3];
    if (descriptorLength != kBlockDescriptorLength) return std::nullopt;

    const uint8_t* descriptor = list + header;
    const uint8_t density = descriptor[0];
    const uint32_t blockLength = getBe24(descriptor + 5);
    const bool known = (density == kDensityDefault && (blockLength == kBlockSize || blockLength == kRawSectorSize)) ||
                       (density == kDensityAudio && blockLength == kRawSectorSize);
    if (!known) return Reply::Check(kSenseIllegalRequest, kAscInvalidFieldInParameterList);
    density_ = density;
    blockLength_ = blockLength;
    return Reply::Good();
}

Reply DiscAccess::necPageIn(const Command& command) const
{
    std::vector<uint8_t> answer(necPage_.begin(), necPage_.end());
    answer.resize(std::min<size_t>(answer.size(), command.cdb[8]));
    return Reply::Good(std::move(answer));
}

Reply DiscAccess::necPageOut(const Command& command)
{
    if (command.cdb[8] != kNecPageLength || command.dataOut.size() < kNecPageLength)
        return Reply::Check(kSenseIllegalRequest, kAscParameterListLengthError);
    std::copy_n(command.dataOut.begin(), kNecPageLength, necPage_.begin());
    return Reply::Good();
}

}  // namespace emu
