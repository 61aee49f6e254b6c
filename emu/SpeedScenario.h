#pragma once
// The speed section of a CD-ROM target in a scenario file (read after the mode pages):
//   "speed": {
//     "steps": [ { "request": 0, "reported": 706 }, { "request": 1400, "reported": 1411 } ],
//         MMC and NEC drives: the lowest SET CD SPEED request (KB/s) of each step, ascending;
//         vendor families: { "code": 2, "reported": 704 } in the order of the steps
//         each step may say how it turns the disc, which sets how long its reads take:
//         "rotation": { "kind": "CLV", "factor": 8 } | { "kind": "CAV", "from": 14, "to": 32 }
//                   | { "kind": "PCAV", "from": 11, "to": 16 }      factors 1..72, from < to
//         "audioRotation": the same for audio tracks when they are read differently
//     "current": 1,                                  index of the step the drive starts at
//     "codeByte": { "page": 49, "index": 2, "mask": 255 },   vendor families only
//     "keeps": [ { "written": 6, "stored": 5 } ],   codes the drive stores differently
//     "features": [ { "code": 263, "data": "00 00 00 00" } ],   GET CONFIGURATION
//     "performanceDescriptors": 1, "mechanismStatus": true, "mechanismState": 0,
//     "mechanismLba": 0, "commandMs": 2,
//     "spinUpMs": 1500, "seekMs": 120, "retryMs": 1000 }   times of steps with a rotation
// Rotations and times are explained in DriveSpeedModel.h and Rotation.h.
#include "emu/CdromDrive.h"
#include "emu/JsonFields.h"

namespace emu {

// Throws ScenarioError for a field it cannot take, like every scenario reader.
void ReadSpeedSection(JsonFields& target, CdromDrive& drive);

}  // namespace emu
