#pragma once
// Standard INQUIRY data of an emulated device.
#include <cstdint>
#include <string>
#include <vector>

namespace emu {

struct InquiryData {
    uint8_t peripheralType = 0;
    bool removable = false;
    uint8_t ansiVersion = 2;
    std::string vendor;    // bytes 8..15, space padded
    std::string product;   // bytes 16..31
    std::string revision;  // bytes 32..35
    // Byte 4; the answer is this plus 5 bytes long. 31 ends after the revision, 51 after
    // the vendor-specific bytes.
    uint8_t additionalLength = 31;
    std::vector<uint8_t> vendorSpecific;  // bytes 36..55, at most 20
};

// The whole answer (additional length + 5 bytes), before the allocation length cuts it.
std::vector<uint8_t> InquiryAnswer(const InquiryData& data);

}  // namespace emu
