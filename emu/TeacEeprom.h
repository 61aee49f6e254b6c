#pragma once
// The DAE speed limit five TEAC models keep in their EEPROM. The vendor command writes it
// (12-byte CDB: the signature "TEAC" in bytes 2-5, 4 in byte 6, the code 2, 4 or 8 in byte
// 10, every other byte 0, no data); the drive reads it at power-on, so a written limit
// governs audio reads only after the next restart. The scenario section of a target:
//   "teacEeprom": { "command": 202, "middleFactor": 16, "limit": 4 }
//   command 202 (0xCA, the ATAPI models) or 242 (0xF2, the CD-532S); middleFactor 16, or 10
//   on the CD-532E-B 3.0B; limit: the factor in the EEPROM at start (4, middle or 32).
#include <cstdint>
#include <optional>

#include "emu/Emulator.h"
#include "emu/JsonFields.h"

namespace emu {

class CdromDrive;

struct TeacEeprom {
    uint8_t opcode = 0;         // 0: the drive has no EEPROM command
    uint32_t middleFactor = 16; // the limit of code 4
    uint8_t storedCode = 2;     // in the EEPROM; 2 (4x CLV) from the factory
    uint8_t activeCode = 2;     // read from the EEPROM at the last power-on

    // The answer to the vendor command, or nullopt for any other command.
    std::optional<Reply> execute(const Command& command);
    void powerOn() { activeCode = storedCode; }
    // 4, middleFactor or 32 for the codes 2, 4 and 8; 0 for any other code.
    uint32_t factorOfCode(uint8_t code) const;
    // The highest factor audio reads run at; 0 for a drive without the EEPROM.
    uint32_t activeLimit() const { return opcode ? factorOfCode(activeCode) : 0; }
};

// Throws ScenarioError for a field it cannot take, like every scenario reader.
void ReadTeacEepromSection(JsonFields& target, CdromDrive& drive);

}  // namespace emu
