#pragma once
// How an emulated drive's speed behaves: its speed steps (which SET CD SPEED request or which
// vendor speed code selects each step, and the speed the drive then reports), the codes it will
// not keep, the answers of GET CONFIGURATION, GET PERFORMANCE and MECHANISM STATUS, and how
// each step turns the disc, which sets the time reads take.
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "emu/Rotation.h"

namespace emu {

struct SpeedStep {
    uint32_t lowestRequest = 0;  // SET CD SPEED requests from here to the next step's select this one (KB/s)
    uint32_t reportedKBps = 0;   // capabilities page bytes 14-15 while at this step
    int code = -1;               // vendor speed code that selects the step; -1 for none
    Rotation rotation;           // how the step reads; None: reads take no time
    Rotation audioRotation;      // audio tracks, when the step extracts audio differently; None: as rotation
};

// Where a vendor-family drive keeps its speed code; page 0 for drives that take SET CD SPEED.
struct SpeedCodeByte {
    uint8_t page = 0;
    uint8_t index = 2;    // 0 = page code byte
    uint8_t mask = 0xFF;  // the bits of the byte that hold the code (Toshiba: low nibble)
};

struct ConfigurationFeature {
    uint16_t code = 0;
    std::vector<uint8_t> data;  // the descriptor's bytes after its 4-byte header
};

struct SpeedModel {
    std::vector<SpeedStep> steps;  // ascending by lowestRequest
    size_t current = 0;            // index into steps
    bool answersSetCdSpeed = true;
    bool keepsStepOnSetCdSpeed = false;  // takes SET CD SPEED, but only SET STREAMING changes the step
    bool answersSetStreaming = false;    // the read rate of a SET STREAMING descriptor selects a step
    SpeedCodeByte codeByte;
    std::map<uint8_t, uint8_t> keeps;  // written code -> the code the drive stores instead
    std::vector<ConfigurationFeature> features;  // empty: GET CONFIGURATION is unknown
    uint16_t performanceDescriptors = 0;         // 0: GET PERFORMANCE is unknown
    bool mechanismStatus = true;
    uint8_t mechanismState = 0;  // bits 7-5 of byte 1
    uint32_t mechanismLba = 0;
    uint32_t commandMs = 2;      // time each speed command and mode page access takes
    // Only steps with a rotation take these times: a start or a change of step takes spinUpMs
    // before the next read; a read that does not continue the last one seeks (a third of seekMs,
    // up to all of it across the whole radius); a read that meets a read error retries for retryMs.
    // The drive reads ahead while the host is busy (CdromTiming.cpp).
    uint32_t spinUpMs = 0;
    uint32_t seekMs = 0;
    uint32_t retryMs = 0;

    // The step a SET CD SPEED request selects: the highest whose lowest request it reaches,
    // else the slowest.
    size_t stepForRequest(uint32_t kbps) const;
    // The step a vendor code selects, or -1.
    int stepForCode(int code) const;
    const SpeedStep* currentStep() const { return current < steps.size() ? &steps[current] : nullptr; }
};

}  // namespace emu
