#include "emu/ModePages.h"
#include "transport/ScsiCodes.h"

namespace emu {

namespace {

constexpr uint8_t kPageCodeMask = 0x3F;

size_t Index(PageControl control) { return size_t(control); }

}  // namespace

bool ModePageStore::setPage(const Values& values)
{
    const std::vector<uint8_t>& current = values[Index(PageControl::Current)];
    if (current.size() < 2 || current.size() != size_t(current[1]) + 2) return false;
    for (const auto& value : values) {
        if (value.size() != current.size()) return false;
        if ((value[0] & kPageCodeMask) != (current[0] & kPageCodeMask)) return false;
    }
    if ((current[0] & kPageCodeMask) == kAllModePages) return false;
    pages_[current[0] & kPageCodeMask] = values;
    return true;
}

bool ModePageStore::addPage(const std::vector<uint8_t>& page)
{
    if (page.size() < 2) return false;
    std::vector<uint8_t> changeable(page.size(), 0xFF);
    changeable[0] = page[0];
    changeable[1] = page[1];
    return setPage({page, changeable, page, page});
}

std::vector<uint8_t> ModePageStore::codes() const
{
    std::vector<uint8_t> result;
    for (const auto& [code, values] : pages_) result.push_back(code);
    return result;
}

std::vector<uint8_t> ModePageStore::page(PageControl control, uint8_t code) const
{
    auto it = pages_.find(code & kPageCodeMask);
    return it == pages_.end() ? std::vector<uint8_t>{} : it->second[Index(control)];
}

ModePageStore::SelectResult ModePageStore::select(const uint8_t* pages, size_t length, bool save)
{
    // First pass: every page must be known, complete and of the device's length.
    for (size_t p = 0; p < length;) {
        if (length - p < 2) return SelectResult::Truncated;
        auto it = pages_.find(pages[p] & kPageCodeMask);
        if (it == pages_.end()) return SelectResult::UnknownPage;
        const size_t size = size_t(pages[p + 1]) + 2;
        if (size != it->second[Index(PageControl::Current)].size()) return SelectResult::WrongLength;
        if (length - p < size) return SelectResult::Truncated;
        p += size;
    }
    for (size_t p = 0; p < length;) {
        Values& values = pages_[pages[p] & kPageCodeMask];
        const std::vector<uint8_t>& mask = values[Index(PageControl::Changeable)];
        const size_t size = size_t(pages[p + 1]) + 2;
        for (size_t i = 2; i < size; ++i) {
            auto merge = [&](std::vector<uint8_t>& value) {
                value[i] = uint8_t((value[i] & ~mask[i]) | (pages[p + i] & mask[i]));
            };
            merge(values[Index(PageControl::Current)]);
            if (save) merge(values[Index(PageControl::Saved)]);
        }
        p += size;
    }
    return SelectResult::Ok;
}

}  // namespace emu
