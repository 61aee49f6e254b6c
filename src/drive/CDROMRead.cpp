// Sector reads per command-set family: READ CD, the vendor CD-DA reads, plain READs after a
// block-size change, and the bookkeeping of the block size set on the drive.
#include <cstring>
#include <utility>

#include "drive/CDROM.h"
#include "platform/Assert.h"
#include "transport/Bytes.h"
#include "transport/ModeParameterList.h"
#include "transport/ScsiCodes.h"

namespace {

constexpr const char* kUnit = "CDROMTargets";

constexpr uint32_t kRawSectorSize = 2352;
constexpr uint32_t kDataSectorSize = 2048;

// Sector types of the READ CD builder.
enum : int { kCdDa = 0, kMode1Data = 1, kMode1Raw = 2, kXaData = 3, kXaRaw = 4 };

struct ReadCdType {
    uint8_t expectedSectorType;  // CDB byte 1
    uint8_t fields;              // CDB byte 9
    uint32_t bytesPerSector;
};

const ReadCdType kReadCdTypes[] = {
    {0x04, 0x10, kRawSectorSize},   // CD-DA
    {0x08, 0x10, kDataSectorSize},  // Mode 1, user data
    {0x08, 0xF8, kRawSectorSize},   // Mode 1, sync, headers, user data, EDC/ECC
    {0x10, 0x10, kDataSectorSize},  // Mode 2 Form 1, user data
    {0x10, 0xF8, kRawSectorSize},   // Mode 2 Form 1, everything
};

// Block descriptors sent with MODE SELECT to change the block size.
constexpr uint8_t kDensityDefault = 0x00;
constexpr uint8_t kDensityAudio = 0x82;

// NEC vendor page holding the audio read-mode switch.
constexpr uint8_t kNecPageLength = 12;
constexpr int kNecAudioByte = 6;
constexpr uint8_t kNecAudioBit = 0x20;

const uint8_t kSyncPattern[12] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

bool IsModeSelectFamily(uint8_t family)
{
    return family >= FamilyCdda12 && family <= FamilyNec && family != FamilyMmc;
}

void AssertFits(uint32_t count, uint32_t sectorSize, uint32_t bufSize)
{
    KALMOR_ASSERT(uint64_t(count) * sectorSize <= bufSize, kUnit, "buffer too small");
}

bool SelectBlockSize(TCDROM& drive, uint8_t density, uint32_t blockLength)
{
    uint8_t bytes[12] = {
        0, 0, 0, 8,      // header: block descriptor length 8
        density,
        0, 0, 0,         // number of blocks
        0,               // reserved
        0, 0, 0,         // block length
    };
    putBe24(bytes + 9, blockLength);
    TModeParameterList list;
    list.LoadBytes(bytes, sizeof(bytes));
    return drive.ModeSelect(list, true);
}

// The data list for block mode 1, the raw list for the others.
bool SelectPlainBlockSize(TCDROM& drive, uint8_t mode)
{
    return SelectBlockSize(drive, kDensityDefault, mode == kBlockData ? kDataSectorSize : kRawSectorSize);
}

bool ReadCddaD8(TCDROM& drive, uint32_t lba, uint32_t count, void* buffer)
{
    uint8_t cdb[12] = {kReadCddaD8, uint8_t(drive.Lun() << 5), 0, 0, 0, 0, 0, 0, 0, 0, 0 /* no subchannel */, 0};
    putBe32(cdb + 2, lba);
    putBe32(cdb + 6, count);
    return drive.ExecSCSICmd(cdb, sizeof(cdb), buffer, count * kRawSectorSize, DataDirection::In, true, 0);
}

bool ReadCddaD4Long(TCDROM& drive, uint32_t lba, uint32_t count, void* buffer)
{
    uint8_t cdb[12] = {kReadCddaD4, uint8_t(drive.Lun() << 5), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putBe32(cdb + 2, lba);
    putBe32(cdb + 6, count);
    return drive.ExecSCSICmd(cdb, sizeof(cdb), buffer, count * kRawSectorSize, DataDirection::In, true, 0);
}

bool ReadCddaD4Short(TCDROM& drive, uint32_t lba, uint32_t count, void* buffer)
{
    KALMOR_ASSERT(count < (1u << 24), kUnit, "count > 24 bits");
    uint8_t cdb[10] = {kReadCddaD4, uint8_t(drive.Lun() << 5), 0, 0, 0, 0, 0, 0, 0, 0};
    putBe32(cdb + 2, lba);
    putBe24(cdb + 6, count);
    return drive.ExecSCSICmd(cdb, sizeof(cdb), buffer, count * kRawSectorSize, DataDirection::In, true, 0);
}

// The generic reads, each only when the count fits its CDB. A READ(6) count of 0 would ask
// for 256 blocks, so it needs at least one.
bool Read6Step(TCDROM& drive, uint32_t lba, uint32_t count, uint32_t size, void* buffer)
{
    return count >= 1 && count < 256 && drive.Read6(lba, uint8_t(count), buffer, count * size);
}

bool Read10Step(TCDROM& drive, uint32_t lba, uint32_t count, uint32_t size, void* buffer)
{
    return count < 65536 && drive.Read10(lba, uint16_t(count), buffer, count * size);
}

bool Read12Step(TCDROM& drive, uint32_t lba, uint32_t count, uint32_t size, void* buffer)
{
    return count < 65536 && drive.Read12(lba, uint16_t(count), buffer, count * size);
}

// Drives that change the block size with MODE SELECT read plain sectors of that size.
bool ReadInBlockMode(TCDROM& drive, uint8_t mode, uint32_t lba, uint32_t count, uint32_t size, void* buffer)
{
    if (drive.BlockMode != mode) drive.SetBlockMode(mode);
    return Read10Step(drive, lba, count, size, buffer) || Read6Step(drive, lba, count, size, buffer);
}

bool NecReadPage(TCDROM& drive, uint8_t* page)
{
    const uint8_t cdb[10] = {kNecModeSense, 0x08, 0x0F, 0, 0, 0, 0, 0, kNecPageLength, 0};
    return drive.ExecSCSICmd(cdb, sizeof(cdb), page, kNecPageLength, DataDirection::In, true, 0);
}

bool NecWritePage(TCDROM& drive, uint8_t* page)
{
    const uint8_t cdb[10] = {kNecModeSelect, 0x10, 0, 0, 0, 0, 0, 0, kNecPageLength, 0};
    return drive.ExecSCSICmd(cdb, sizeof(cdb), page, kNecPageLength, DataDirection::Out, true, 0);
}

void NecEnterAudio(TCDROM& drive)
{
    uint8_t page[kNecPageLength] = {};
    if (!NecReadPage(drive, page)) return;
    drive.NecAudioBit = page[kNecAudioByte] & kNecAudioBit;
    page[kNecAudioByte] |= kNecAudioBit;
    NecWritePage(drive, page);
}

// Puts back the bit as it was before entering; OR alone would leave the drive in audio mode.
void NecLeaveAudio(TCDROM& drive)
{
    uint8_t page[kNecPageLength] = {};
    if (!NecReadPage(drive, page)) return;
    page[kNecAudioByte] = uint8_t((page[kNecAudioByte] & ~kNecAudioBit) | drive.NecAudioBit);
    NecWritePage(drive, page);
}

}  // namespace

bool TCDROM::ReadCD(int type, uint32_t lba, uint32_t count, void* buffer, uint32_t bufSize)
{
    AssertExists();
    KALMOR_ASSERT(type >= kCdDa && type <= kXaRaw, kUnit, "ReadCD: type");
    KALMOR_ASSERT(count < (1u << 24), kUnit, "count > 24 bits");
    const ReadCdType& t = kReadCdTypes[type];
    AssertFits(count, t.bytesPerSector, bufSize);
    uint8_t cdb[12] = {kReadCd, t.expectedSectorType, 0, 0, 0, 0, 0, 0, 0, t.fields, 0, 0};
    putBe32(cdb + 2, lba);
    putBe24(cdb + 6, count);
    return ExecSCSICmd(cdb, sizeof(cdb), buffer, count * t.bytesPerSector, DataDirection::In, true, 0);
}

bool TCDROM::ReadAudio(uint32_t lba, uint32_t count, void* buffer, uint32_t bufSize)
{
    AssertExists();
    AssertFits(count, kRawSectorSize, bufSize);
    bool ok = false;
    switch (Family) {
    case FamilyCdda12:
    case FamilyTeacScsi:
    case FamilyPlextor:
        ok = ReadCddaD8(*this, lba, count, buffer);
        break;
    case FamilyMmc:
        ok = ReadCD(kCdDa, lba, count, buffer, bufSize);
        break;
    case FamilyToshiba:
    case FamilyPhilipsCdd2000:
    case FamilyPhilipsCdd2600:
        if (BlockMode != kBlockAudio) SetBlockMode(kBlockAudio);
        ok = Read10Step(*this, lba, count, kRawSectorSize, buffer);
        // Philips drives deliver the samples big-endian.
        if (ok && Family != FamilyToshiba) ByteSwap(static_cast<uint8_t*>(buffer), count * kRawSectorSize);
        break;
    case FamilyMatshita:
        ok = ReadCddaD4Long(*this, lba, count, buffer);
        break;
    case FamilyNec:
        if (BlockMode != kBlockAudio) SetBlockMode(kBlockAudio);
        ok = ReadCddaD4Short(*this, lba, count, buffer);
        break;
    default:
        ok = ReadCD(kCdDa, lba, count, buffer, bufSize) || ReadCddaD8(*this, lba, count, buffer) ||
             ReadCddaD4Long(*this, lba, count, buffer);
        break;
    }
    if (ok) NextLba = int32_t(lba + count);
    return ok;
}

bool TCDROM::ReadData(uint32_t lba, uint32_t count, void* buffer, uint32_t bufSize)
{
    AssertExists();
    AssertFits(count, kDataSectorSize, bufSize);
    const uint32_t size = kDataSectorSize;
    bool ok = false;
    if (Family == FamilyMmc) {
        ok = ReadCD(XaDisc ? kXaData : kMode1Data, lba, count, buffer, bufSize) ||
             Read10Step(*this, lba, count, size, buffer) || Read12Step(*this, lba, count, size, buffer) ||
             Read6Step(*this, lba, count, size, buffer);
    } else if (IsModeSelectFamily(Family)) {
        ok = ReadInBlockMode(*this, kBlockData, lba, count, size, buffer);
    } else {
        ok = Read6Step(*this, lba, count, size, buffer) || Read10Step(*this, lba, count, size, buffer) ||
             Read12Step(*this, lba, count, size, buffer) || ReadCD(kMode1Data, lba, count, buffer, bufSize) ||
             ReadCD(kXaData, lba, count, buffer, bufSize);
    }
    if (ok) NextLba = int32_t(lba + count);
    return ok;
}

bool TCDROM::ReadRaw(uint32_t lba, uint32_t count, void* buffer, uint32_t bufSize)
{
    AssertExists();
    AssertFits(count, kRawSectorSize, bufSize);
    const uint32_t size = kRawSectorSize;
    bool ok = false;
    if (Family == FamilyMmc) {
        ok = ReadCD(XaDisc ? kXaRaw : kMode1Raw, lba, count, buffer, bufSize);
    } else if (IsModeSelectFamily(Family)) {
        ok = ReadInBlockMode(*this, kBlockRaw, lba, count, size, buffer);
    }
    const uint8_t* sectors = static_cast<const uint8_t*>(buffer);
    for (uint32_t i = 0; ok && i < count; ++i) ok = SyncCheck(sectors + uint64_t(i) * size);
    if (ok) NextLba = int32_t(lba + count);
    return ok;
}

uint8_t TCDROM::SetBlockMode(uint8_t mode)
{
    AssertExists();
    KALMOR_ASSERT(mode <= kBlockRaw, kUnit, "SetBlockMode: mode");
    switch (Family) {
    case FamilyCdda12:
    case FamilyTeacScsi:
    case FamilyPlextor:
        // Their audio reads use 0xD8, which needs no block size.
        if (mode == kBlockAudio) BlockMode = kBlockAudio;
        else if (SelectPlainBlockSize(*this, mode)) BlockMode = mode;
        break;
    case FamilyToshiba: {
        const bool ok = mode == kBlockAudio ? SelectBlockSize(*this, kDensityAudio, kRawSectorSize)
                                            : SelectPlainBlockSize(*this, mode);
        if (ok) BlockMode = mode;
        break;
    }
    case FamilyPhilipsCdd2000:
    case FamilyPhilipsCdd2600:
    case FamilyMatshita:
        if (SelectPlainBlockSize(*this, mode)) BlockMode = mode;
        break;
    case FamilyNec:
        if (BlockMode == kBlockUnknown) {
            NecEnterAudio(*this);
            NecLeaveAudio(*this);
            BlockMode = kBlockData;
        }
        if (mode == kBlockAudio) {
            if (BlockMode != kBlockAudio) NecEnterAudio(*this);
            BlockMode = kBlockAudio;
        } else {
            if (BlockMode == kBlockAudio) NecLeaveAudio(*this);
            if (SelectPlainBlockSize(*this, mode)) BlockMode = mode;
        }
        break;
    default:
        break;
    }
    return BlockMode;
}

void TCDROM::RestoreDataMode()
{
    AssertExists();
    if (IsModeSelectFamily(Family) && BlockMode != kBlockData) SetBlockMode(kBlockData);
    BlockMode = kBlockUnknown;
}

void TCDROM::ByteSwap(uint8_t* buffer, uint32_t length)
{
    KALMOR_ASSERT(length % 2 == 0, kUnit, "ByteSwap: odd length");
    for (uint32_t i = 0; i + 1 < length; i += 2) std::swap(buffer[i], buffer[i + 1]);
}

bool TCDROM::SyncCheck(const uint8_t* sector) { return std::memcmp(sector, kSyncPattern, sizeof(kSyncPattern)) == 0; }
