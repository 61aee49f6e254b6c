#pragma once
// What a device reads its logical blocks from. Discs with a TOC and raw sectors derive
// from it; the plain pattern medium serves disks and drives that need no real disc.
#include <cstdint>

namespace emu {

constexpr uint32_t kBlockSize = 2048;

class Medium {
public:
    virtual ~Medium() = default;
    virtual uint32_t blockCount() const = 0;
    // Writes the kBlockSize user bytes of block lba (< blockCount) into out; false for an
    // unrecoverable read error.
    virtual bool readBlock(uint32_t lba, uint8_t* out) const = 0;
};

// Blocks whose bytes follow from their address, so that a test can tell which block it got.
class PatternMedium : public Medium {
public:
    explicit PatternMedium(uint32_t blocks) : blocks_(blocks) {}
    uint32_t blockCount() const override { return blocks_; }
    bool readBlock(uint32_t lba, uint8_t* out) const override;

    // Byte offset of block lba: the address big-endian in bytes 0..3, then a running pattern.
    static uint8_t Byte(uint32_t lba, uint32_t offset);

private:
    uint32_t blocks_;
};

}  // namespace emu
