#include "emu/Medium.h"

#include "transport/Bytes.h"

namespace emu {

uint8_t PatternMedium::Byte(uint32_t lba, uint32_t offset)
{
    if (offset < 4) return uint8_t(lba >> (8 * (3 - offset)));
    return uint8_t(lba * 31 + offset);
}

bool PatternMedium::readBlock(uint32_t lba, uint8_t* out) const
{
    putBe32(out, lba);
    for (uint32_t i = 4; i < kBlockSize; ++i) out[i] = Byte(lba, i);
    return true;
}

}  // namespace emu
