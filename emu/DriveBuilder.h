#pragma once
// Ready-made parts of emulated CD-ROM drives: the capabilities page, vendor speed pages with
// their changeable bits, and speed-step models, for the scenarios, the tests and the benchmarks.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emu/CdromDrive.h"

namespace emu {

struct Capabilities {
    uint16_t maxReadKBps = 7056;  // bytes 8-9
    bool writer = false;          // byte 3 bit 0
    uint16_t writeKBps = 0;       // bytes 20-21
    uint8_t audioBits = 0x03;     // byte 5: CD-DA commands, stream accurate, C2 pointers (bit 4)
    uint16_t bufferKB = 512;      // bytes 12-13
    uint8_t length = 22;          // page code byte to last byte; shorter pages cut the fields off
};

// Page 0x2A: current, default and saved values alike, nothing changeable.
ModePageStore::Values CapabilitiesPage(const Capabilities& caps);

// A page of the given total length whose bytes are all zero except those given, with the
// given changeable bits; default and saved values equal the current ones.
ModePageStore::Values PageWithMask(uint8_t code, uint8_t length, const std::vector<std::pair<int, uint8_t>>& bytes,
                                   const std::vector<std::pair<int, uint8_t>>& changeable);

// An MMC speed model from (lowest request, reported KB/s) pairs; starts at the fastest step.
SpeedModel MmcSteps(const std::vector<std::pair<uint32_t, uint32_t>>& steps);

// A vendor-family speed model from (code, reported KB/s) pairs; starts at the first pair.
SpeedModel CodeSteps(SpeedCodeByte where, const std::vector<std::pair<int, uint32_t>>& steps);

// A CD-ROM drive with these inquiry strings (vendor 8, product 16, revision 4 characters).
std::shared_ptr<CdromDrive> MakeCdromDrive(const std::string& vendor, const std::string& product,
                                           const std::string& revision, const std::string& vendorText = "");

}  // namespace emu
