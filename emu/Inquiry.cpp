#include "emu/Inquiry.h"

#include <algorithm>
#include <cstring>

namespace emu {

namespace {

constexpr size_t kVendorSpecificOffset = 36;
constexpr size_t kVendorSpecificSize = 20;
constexpr uint8_t kRemovableBit = 0x80;
constexpr uint8_t kResponseDataFormat = 0x02;

void PutText(std::vector<uint8_t>& answer, size_t offset, size_t size, const std::string& text)
{
    std::memset(&answer[offset], ' ', size);
    std::memcpy(&answer[offset], text.data(), std::min(size, text.size()));
}

}  // namespace

std::vector<uint8_t> InquiryAnswer(const InquiryData& data)
{
    const size_t length = size_t(data.additionalLength) + 5;
    std::vector<uint8_t> answer(std::max(length, kVendorSpecificOffset + kVendorSpecificSize), 0);
    answer[0] = data.peripheralType & 0x1F;
    answer[1] = data.removable ? kRemovableBit : 0;
    answer[2] = data.ansiVersion & 0x07;
    answer[3] = kResponseDataFormat;
    answer[4] = data.additionalLength;
    PutText(answer, 8, 8, data.vendor);
    PutText(answer, 16, 16, data.product);
    PutText(answer, 32, 4, data.revision);
    std::copy_n(data.vendorSpecific.begin(), std::min(kVendorSpecificSize, data.vendorSpecific.size()),
                answer.begin() + kVendorSpecificOffset);
    answer.resize(length);
    return answer;
}

}  // namespace emu
