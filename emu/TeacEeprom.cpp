#include "emu/TeacEeprom.h"

#include <algorithm>

#include "emu/CdromDrive.h"
#include "transport/ScsiCodes.h"

namespace emu {

namespace {

constexpr size_t kCdbLength = 12;
constexpr uint8_t kSignature[] = {'T', 'E', 'A', 'C'};
constexpr uint8_t kSignatureAt = 2;
constexpr uint8_t kSubcommandAt = 6;
constexpr uint8_t kSubcommandWrite = 4;
constexpr uint8_t kCodeAt = 10;
constexpr uint8_t kCodes[] = {2, 4, 8};

// Bytes that must be zero: 1, 7 to 9 and 11.
bool ReservedBytesClear(const std::vector<uint8_t>& cdb)
{
    return cdb[1] == 0 && cdb[7] == 0 && cdb[8] == 0 && cdb[9] == 0 && cdb[11] == 0;
}

}  // namespace

uint32_t TeacEeprom::factorOfCode(uint8_t code) const
{
    switch (code) {
    case 2: return 4;
    case 4: return middleFactor;
    case 8: return 32;
    default: return 0;
    }
}

std::optional<Reply> TeacEeprom::execute(const Command& command)
{
    const std::vector<uint8_t>& cdb = command.cdb;
    if (opcode == 0 || cdb.empty() || cdb[0] != opcode) return std::nullopt;
    const bool valid = cdb.size() == kCdbLength && command.length == 0 && ReservedBytesClear(cdb) &&
                       std::equal(std::begin(kSignature), std::end(kSignature), cdb.begin() + kSignatureAt) &&
                       cdb[kSubcommandAt] == kSubcommandWrite && factorOfCode(cdb[kCodeAt]) != 0;
    if (!valid) return Reply::IllegalRequest();
    storedCode = cdb[kCodeAt];
    return Reply::Good();
}

void ReadTeacEepromSection(JsonFields& target, CdromDrive& drive)
{
    if (!target.has("teacEeprom")) return;
    JsonFields fields = target.object("teacEeprom");
    TeacEeprom eeprom;
    eeprom.opcode = uint8_t(fields.integer("command", 0, 255, kTeacWriteEeprom));
    if (eeprom.opcode != kTeacWriteEeprom && eeprom.opcode != kTeacWriteEepromScsi)
        fields.fail("command", "must be 202 (0xCA) or 242 (0xF2)");
    eeprom.middleFactor = uint32_t(fields.integer("middleFactor", 10, 16, 16));
    if (eeprom.middleFactor != 10 && eeprom.middleFactor != 16) fields.fail("middleFactor", "must be 10 or 16");
    const auto limit = uint32_t(fields.integer("limit", 4, 32, 4));
    const uint8_t* code = std::find_if(std::begin(kCodes), std::end(kCodes),
                                       [&](uint8_t c) { return eeprom.factorOfCode(c) == limit; });
    if (code == std::end(kCodes)) fields.fail("limit", "must be 4, the middle factor or 32");
    eeprom.storedCode = *code;
    eeprom.powerOn();
    fields.finish();
    drive.teacEeprom() = eeprom;
}

}  // namespace emu
