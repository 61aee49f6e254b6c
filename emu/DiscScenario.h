#pragma once
// The disc sections of a CD-ROM target in a scenario file:
//   "sectorReads": "MMC"   the family whose read commands the drive answers (default "MMC")
//   "disc": { "xa": false, "becomingReady": false, "velocity": 1300,   (scanning velocity, mm/s)
//             "tracks": [ { "type": "audio" | "mode1" | "mode2form1", "length": 15000,
//                           "start": 0, "session": 1, "volumeId": "MY DISC",
//                           "image": "/path/disc.iso" } ],
//             "readErrors": [ { "first": 100, "last": 199 } ],
//             "sectorsWithoutSync": [ { "lba": 1234 } ] }
// A track's start defaults to the end of the previous track; an image track's length to the
// image's blocks. Image paths are taken as given (absolute, or from the working directory) and
// must name a regular file of at most 1 GiB.
#include "emu/CdromDrive.h"
#include "emu/JsonFields.h"

namespace emu {

// Throws ScenarioError for a field it cannot take, like every scenario reader.
void ReadDiscSections(JsonFields& target, CdromDrive& drive);
// One "disc" object.
std::shared_ptr<Disc> ReadDisc(JsonFields fields);

}  // namespace emu
