#pragma once
// A device's mode pages in the four page controls. Every value is kept as the page's
// bytes from its page byte on (byte 1 is the page length), so vendor pages need no code.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace emu {

enum class PageControl : uint8_t { Current = 0, Changeable = 1, Default = 2, Saved = 3 };

class ModePageStore {
public:
    using Values = std::array<std::vector<uint8_t>, 4>;  // indexed by PageControl

    // Adds or replaces the page: four values of equal length, each page byte + length byte
    // + parameters; false (and nothing stored) when they do not fit together.
    bool setPage(const Values& values);
    // Current = default = saved = page; every parameter bit changeable.
    bool addPage(const std::vector<uint8_t>& page);

    // Page code (6 bits) of every page, ascending.
    std::vector<uint8_t> codes() const;
    // The page in the given page control; empty when the device has no such page.
    std::vector<uint8_t> page(PageControl control, uint8_t code) const;

    enum class SelectResult { Ok, UnknownPage, WrongLength, Truncated };
    // MODE SELECT of the pages part of a parameter list: the changeable bits of each page
    // go into the current values, and into the saved values too when save is set. Nothing
    // changes unless every page is acceptable.
    SelectResult select(const uint8_t* pages, size_t length, bool save);

private:
    std::map<uint8_t, Values> pages_;
};

}  // namespace emu
