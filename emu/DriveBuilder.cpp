#include "emu/DriveBuilder.h"

#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

namespace emu {

namespace {

constexpr uint8_t kWriteCdR = 0x01;
constexpr uint8_t kInquiryWithVendorText = 51;

}  // namespace

ModePageStore::Values CapabilitiesPage(const Capabilities& caps)
{
    std::vector<uint8_t> page(22, 0);
    page[0] = kPageCapabilities;
    page[1] = uint8_t(page.size() - 2);
    page[2] = 0x03;  // reads CD-R and CD-RW
    page[3] = caps.writer ? kWriteCdR : 0;
    page[5] = caps.audioBits;
    putBe16(&page[8], caps.maxReadKBps);
    putBe16(&page[12], caps.bufferKB);
    putBe16(&page[14], caps.maxReadKBps);
    putBe16(&page[18], caps.writeKBps);
    putBe16(&page[20], caps.writeKBps);
    page.resize(caps.length < 2 ? 2 : caps.length);
    page[1] = uint8_t(page.size() - 2);
    const std::vector<uint8_t> none(page.size(), 0);
    std::vector<uint8_t> changeable = none;
    changeable[0] = page[0];
    changeable[1] = page[1];
    return {page, changeable, page, page};
}

ModePageStore::Values PageWithMask(uint8_t code, uint8_t length, const std::vector<std::pair<int, uint8_t>>& bytes,
                                   const std::vector<std::pair<int, uint8_t>>& changeable)
{
    std::vector<uint8_t> page(length < 2 ? 2 : length, 0);
    page[0] = code;
    page[1] = uint8_t(page.size() - 2);
    std::vector<uint8_t> mask = page;
    for (const auto& [index, value] : bytes) {
        if (index >= 2 && size_t(index) < page.size()) page[size_t(index)] = value;
    }
    for (const auto& [index, value] : changeable) {
        if (index >= 2 && size_t(index) < mask.size()) mask[size_t(index)] = value;
    }
    return {page, mask, page, page};
}

SpeedModel MmcSteps(const std::vector<std::pair<uint32_t, uint32_t>>& steps)
{
    SpeedModel model;
    for (const auto& [request, reported] : steps) model.steps.push_back({request, reported, -1, {}, {}});
    model.current = model.steps.empty() ? 0 : model.steps.size() - 1;
    return model;
}

SpeedModel CodeSteps(SpeedCodeByte where, const std::vector<std::pair<int, uint32_t>>& steps)
{
    SpeedModel model;
    model.answersSetCdSpeed = false;
    model.codeByte = where;
    // Requests are meaningless here; a rising value keeps the given order after sorting.
    uint32_t order = 0;
    for (const auto& [code, reported] : steps) model.steps.push_back({order++, reported, code, {}, {}});
    return model;
}

std::shared_ptr<CdromDrive> MakeCdromDrive(const std::string& vendor, const std::string& product,
                                           const std::string& revision, const std::string& vendorText)
{
    InquiryData inquiry;
    inquiry.vendor = vendor;
    inquiry.product = product;
    inquiry.revision = revision;
    if (!vendorText.empty()) {
        inquiry.additionalLength = kInquiryWithVendorText;
        inquiry.vendorSpecific.assign(vendorText.begin(), vendorText.end());
    }
    return std::make_shared<CdromDrive>(inquiry);
}

}  // namespace emu
