#pragma once
// Operation codes and sense codes of the emulated disc commands.
#include <cstdint>

namespace emu {

constexpr uint8_t kReadToc = 0x43;
constexpr uint8_t kReadCd = 0xBE;
constexpr uint8_t kReadCddaD8 = 0xD8;
constexpr uint8_t kReadCddaD4 = 0xD4;     // 12-byte form (Matshita) and 10-byte form (NEC)
constexpr uint8_t kNecModeSense = 0xCA;
constexpr uint8_t kNecModeSelect = 0xC5;

constexpr uint8_t kAscNotReady = 0x04;
constexpr uint8_t kAscqBecomingReady = 0x01;
constexpr uint8_t kAscMediumChanged = 0x28;
constexpr uint8_t kAscIllegalModeForTrack = 0x64;

}  // namespace emu
