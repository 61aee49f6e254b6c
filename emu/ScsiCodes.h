#pragma once
// Operation codes, sense keys and additional sense codes the emulated devices answer.
#include <cstdint>

namespace emu {

constexpr uint8_t kTestUnitReady = 0x00;
constexpr uint8_t kRead6 = 0x08;
constexpr uint8_t kInquiry = 0x12;
constexpr uint8_t kModeSelect6 = 0x15;
constexpr uint8_t kModeSense6 = 0x1A;
constexpr uint8_t kStartStopUnit = 0x1B;
constexpr uint8_t kPreventAllowMediumRemoval = 0x1E;
constexpr uint8_t kReadCapacity = 0x25;
constexpr uint8_t kRead10 = 0x28;
constexpr uint8_t kModeSelect10 = 0x55;
constexpr uint8_t kModeSense10 = 0x5A;
constexpr uint8_t kRead12 = 0xA8;

constexpr uint8_t kSenseNotReady = 0x02;
constexpr uint8_t kSenseMediumError = 0x03;
constexpr uint8_t kSenseIllegalRequest = 0x05;
constexpr uint8_t kSenseUnitAttention = 0x06;

constexpr uint8_t kAscUnrecoveredReadError = 0x11;
constexpr uint8_t kAscParameterListLengthError = 0x1A;
constexpr uint8_t kAscInvalidOpcode = 0x20;
constexpr uint8_t kAscLbaOutOfRange = 0x21;
constexpr uint8_t kAscInvalidFieldInCdb = 0x24;
constexpr uint8_t kAscInvalidFieldInParameterList = 0x26;
constexpr uint8_t kAscPowerOnReset = 0x29;
constexpr uint8_t kAscMediumRemovalPrevented = 0x53;
constexpr uint8_t kAscMediumNotPresent = 0x3A;
constexpr uint8_t kAscqTrayClosed = 0x01;
constexpr uint8_t kAscqTrayOpen = 0x02;
constexpr uint8_t kAscqRemovalPrevented = 0x02;

}  // namespace emu
