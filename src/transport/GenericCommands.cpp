// Commands every SCSI target understands.
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"
#include "transport/Target.h"

bool TTarget::TestUnitReady()
{
    const uint8_t cdb[6] = {kTestUnitReady, LunBits(), 0, 0, 0, 0};
    return ExecSCSICmd(cdb, sizeof(cdb), nullptr, 0, DataDirection::None, true, 0);
}

bool TTarget::StartStopUnit(bool start, bool loadEject, bool immediate)
{
    const uint8_t b1 = LunBits() | (immediate ? 0x01 : 0x00);
    const uint8_t b4 = (start ? 0x01 : 0x00) | (loadEject ? 0x02 : 0x00);
    const uint8_t cdb[6] = {kStartStopUnit, b1, 0, 0, b4, 0};
    return ExecSCSICmd(cdb, sizeof(cdb), nullptr, 0, DataDirection::None, true, 0);
}

bool TTarget::PreventAllowMediumRemoval(bool prevent)
{
    const uint8_t cdb[6] = {kPreventAllowMediumRemoval, LunBits(), 0, 0, uint8_t(prevent ? 1 : 0), 0};
    return ExecSCSICmd(cdb, sizeof(cdb), nullptr, 0, DataDirection::None, true, 0);
}

bool TTarget::Read6(uint32_t lba, uint8_t blocks, void* buffer, uint32_t bufLen)
{
    AssertInitialised();
    if (lba >= (1u << 21)) return false;  // 21 bits of LBA in the 6-byte CDB
    uint8_t cdb[6] = {kRead6, 0, 0, 0, blocks, 0};
    putBe24(cdb + 1, lba);
    cdb[1] |= LunBits();
    return ExecSCSICmd(cdb, sizeof(cdb), buffer, bufLen, DataDirection::In, true, 0);
}

bool TTarget::Read10(uint32_t lba, uint16_t blocks, void* buffer, uint32_t bufLen)
{
    uint8_t cdb[10] = {kRead10, LunBits(), 0, 0, 0, 0, 0, 0, 0, 0};
    putBe32(cdb + 2, lba);
    putBe16(cdb + 7, blocks);
    return ExecSCSICmd(cdb, sizeof(cdb), buffer, bufLen, DataDirection::In, true, 0);
}

bool TTarget::Read12(uint32_t lba, uint16_t blocks, void* buffer, uint32_t bufLen)
{
    uint8_t cdb[12] = {kRead12, LunBits(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putBe32(cdb + 2, lba);
    putBe16(cdb + 8, blocks);
    return ExecSCSICmd(cdb, sizeof(cdb), buffer, bufLen, DataDirection::In, true, 0);
}
