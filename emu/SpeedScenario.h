#pragma once
// The speed section of a CD-ROM target in a scenario file (read after the mode pages):
//   "speed": {
//     "steps": [ { "request": 0, "reported": 706 }, { "request": 1400, "reported": 1411 } ],
//         MMC and NEC drives: the lowest SET CD SPEED request (KB/s) of each step, ascending;
//         vendor families: { "code": 2, "reported": 704 } in the order of the steps
//     "current": 1,                                  index of the step the drive starts at
//     "codeByte": { "page": 49, "index": 2, "mask": 255 },   vendor families only
//     "keeps": [ { "written": 6, "stored": 5 } ],   codes the drive stores differently
//     "features": [ { "code": 263, "data": "00 00 00 00" } ],   GET CONFIGURATION
//     "performanceDescriptors": 1, "mechanismStatus": true, "mechanismState": 0,
//     "mechanismLba": 0, "commandMs": 2 }
#include "emu/CdromDrive.h"
#include "emu/JsonFields.h"

namespace emu {

// Throws ScenarioError for a field it cannot take, like every scenario reader.
void ReadSpeedSection(JsonFields& target, CdromDrive& drive);

}  // namespace emu
