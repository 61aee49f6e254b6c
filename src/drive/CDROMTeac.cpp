// The TEAC vendor command that writes the DAE speed limit into the drive's EEPROM.
#include <array>

#include "drive/CDROM.h"
#include "transport/ScsiCodes.h"

namespace {

struct TeacEepromModel {
    uint8_t model;
    uint8_t opcode;
    int32_t middleFactor;  // the limit of code 4
};

const TeacEepromModel kTeacEepromModels[] = {
    {ModelTeacCd532S30A,  kTeacWriteEepromScsi, 16},
    {ModelTeacCd524EA30A, kTeacWriteEeprom,     16},
    {ModelTeacCd532E30A,  kTeacWriteEeprom,     16},
    {ModelTeacCd532EA30A, kTeacWriteEeprom,     16},
    {ModelTeacCd532EB30B, kTeacWriteEeprom,     10},
};

constexpr uint8_t kCodeSlow = 2;    // 4x CLV, the factory setting
constexpr uint8_t kCodeMiddle = 4;
constexpr uint8_t kCodeFast = 8;    // 32x CAV
constexpr int32_t kSlowFactor = 4;
constexpr int32_t kFastFactor = 32;
constexpr uint32_t kRequestLimit = 256;

const TeacEepromModel* FindTeacEepromModel(uint8_t model)
{
    for (const TeacEepromModel& row : kTeacEepromModels) {
        if (row.model == model) return &row;
    }
    return nullptr;
}

std::array<uint8_t, 12> TeacWriteEepromCdb(uint8_t opcode, uint8_t code)
{
    return {opcode, 0, 'T', 'E', 'A', 'C', 4, 0, 0, 0, code, 0};
}

}  // namespace

bool TCDROM::IsTeacEEPROMDrive() const { return FindTeacEepromModel(Model) != nullptr; }

int32_t TCDROM::WriteTeacEEPROM(uint32_t speed)
{
    AssertExists();
    const TeacEepromModel* row = FindTeacEepromModel(Model);
    if (!row || speed >= kRequestLimit) return -1;
    uint8_t code = kCodeSlow;
    int32_t factor = kSlowFactor;
    if (speed >= uint32_t(kFastFactor)) {
        code = kCodeFast;
        factor = kFastFactor;
    } else if (speed >= uint32_t(row->middleFactor)) {
        code = kCodeMiddle;
        factor = row->middleFactor;
    }
    const auto cdb = TeacWriteEepromCdb(row->opcode, code);
    if (!ExecSCSICmd(cdb.data(), cdb.size(), nullptr, 0, DataDirection::None, true, 0)) return -1;
    return factor;
}
