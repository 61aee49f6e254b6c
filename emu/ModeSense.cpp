// MODE SENSE and MODE SELECT of GenericDevice, with the broken answers some drives give.
#include <algorithm>

#include "emu/GenericDevice.h"
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

namespace emu {

namespace {

constexpr uint8_t kDisableBlockDescriptorsBit = 0x08;
constexpr uint8_t kSavePagesBit = 0x01;
constexpr size_t kHeader6 = 4;
constexpr size_t kHeader10 = 8;
constexpr size_t kMax6ByteList = 256;

Reply ParameterListLengthError() { return Reply::Check(kSenseIllegalRequest, kAscParameterListLengthError); }

}  // namespace

Reply GenericDevice::modeSense(const Command& command) const
{
    const uint8_t* cdb = command.cdb.data();
    const bool tenByte = cdb[0] == kModeSense10;
    if (tenByte && faults_.tenByteUnsupported) return Reply::InvalidOpcode();
    const bool withBlockDescriptor = !(cdb[1] & kDisableBlockDescriptorsBit);
    const auto control = PageControl(cdb[2] >> 6);
    const uint8_t code = cdb[2] & 0x3F;
    const uint32_t allocation = tenByte ? getBe16(cdb + 7) : cdb[4];

    std::vector<uint8_t> pages;
    if (code == kAllModePages) {
        std::vector<uint8_t> codes = modePages_.codes();
        if (faults_.descendingPages) std::reverse(codes.begin(), codes.end());
        for (uint8_t c : codes) {
            const std::vector<uint8_t> page = modePages_.page(control, c);
            pages.insert(pages.end(), page.begin(), page.end());
        }
    } else {
        pages = modePages_.page(control, code);
        if (pages.empty()) return Reply::IllegalRequest();
    }
    std::vector<uint8_t> answer = modeSenseAnswer(tenByte, withBlockDescriptor, pages);
    answer.resize(std::min<size_t>(answer.size(), allocation));
    return Reply::Good(std::move(answer));
}

std::vector<uint8_t> GenericDevice::modeSenseAnswer(bool tenByte, bool withBlockDescriptor,
                                                    const std::vector<uint8_t>& pages) const
{
    if (tenByte && faults_.sixByteHeaderIn10) {
        // Answers MODE SENSE(10) with a 6-byte header whose length byte counts as for the
        // 10-byte answer, no block descriptor, and the last 4 bytes sent twice.
        std::vector<uint8_t> answer = {uint8_t(pages.size() + 6), mediumType_, deviceSpecific_, 0};
        answer.insert(answer.end(), pages.begin(), pages.end());
        const std::vector<uint8_t> tail(answer.end() - 4, answer.end());
        answer.insert(answer.end(), tail.begin(), tail.end());
        return answer;
    }

    const std::vector<uint8_t> descriptor = withBlockDescriptor ? blockDescriptor_ : std::vector<uint8_t>{};
    const size_t header = tenByte ? kHeader10 : kHeader6;
    std::vector<uint8_t> answer(header, 0);
    answer.insert(answer.end(), descriptor.begin(), descriptor.end());
    answer.insert(answer.end(), pages.begin(), pages.end());
    if (tenByte) {
        putBe16(&answer[0], uint32_t(answer.size() - 2));
        answer[2] = mediumType_;
        answer[3] = deviceSpecific_;
        putBe16(&answer[6], uint32_t(descriptor.size()));
        // The first page's length reaches past the end of the answer, whatever follows it.
        const size_t first = header + descriptor.size();
        if (faults_.pageLengthOverrun && !pages.empty())
            answer[first + 1] = uint8_t(answer.size() - first - 2 + faults_.pageLengthOverrun);
    } else {
        answer.resize(std::min(answer.size(), kMax6ByteList));
        answer[0] = uint8_t(answer.size() - 1);
        answer[1] = mediumType_;
        answer[2] = deviceSpecific_;
        answer[3] = uint8_t(descriptor.size());
    }
    return answer;
}

Reply GenericDevice::modeSelect(const Command& command)
{
    const uint8_t* cdb = command.cdb.data();
    const bool tenByte = cdb[0] == kModeSelect10;
    if (tenByte && faults_.tenByteUnsupported) return Reply::InvalidOpcode();
    const bool save = cdb[1] & kSavePagesBit;
    const size_t listLength = std::min<size_t>(tenByte ? getBe16(cdb + 7) : cdb[4], command.dataOut.size());
    if (listLength == 0) return Reply::Good();

    const uint8_t* list = command.dataOut.data();
    const size_t header = tenByte ? kHeader10 : kHeader6;
    if (listLength < header) return ParameterListLengthError();
    const size_t descriptor = tenByte ? getBe16(list + 6) : list[3];
    if (header + descriptor > listLength) return ParameterListLengthError();

    switch (modePages_.select(list + header + descriptor, listLength - header - descriptor, save)) {
    case ModePageStore::SelectResult::Ok: return Reply::Good();
    case ModePageStore::SelectResult::Truncated: return ParameterListLengthError();
    case ModePageStore::SelectResult::UnknownPage:
    case ModePageStore::SelectResult::WrongLength: break;
    }
    return Reply::Check(kSenseIllegalRequest, kAscInvalidFieldInParameterList);
}

}  // namespace emu
