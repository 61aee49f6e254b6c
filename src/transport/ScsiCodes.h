#pragma once
// Operation codes, mode page codes, page controls and sense codes: the program and the emulator
// speak the same protocol, so both take them from here.
#include <cstdint>

// Operation codes.
constexpr uint8_t kTestUnitReady = 0x00;
constexpr uint8_t kRead6 = 0x08;
constexpr uint8_t kInquiry = 0x12;
constexpr uint8_t kModeSelect6 = 0x15;
constexpr uint8_t kModeSense6 = 0x1A;
constexpr uint8_t kStartStopUnit = 0x1B;
constexpr uint8_t kPreventAllowMediumRemoval = 0x1E;
constexpr uint8_t kReadCapacity = 0x25;
constexpr uint8_t kRead10 = 0x28;
constexpr uint8_t kReadToc = 0x43;
constexpr uint8_t kGetConfiguration = 0x46;
constexpr uint8_t kModeSelect10 = 0x55;
constexpr uint8_t kModeSense10 = 0x5A;
constexpr uint8_t kRead12 = 0xA8;
constexpr uint8_t kGetPerformance = 0xAC;
constexpr uint8_t kSetCdSpeed = 0xBB;
constexpr uint8_t kSetStreaming = 0xB6;
constexpr uint8_t kMechanismStatus = 0xBD;
constexpr uint8_t kReadCd = 0xBE;
// Vendor commands.
constexpr uint8_t kNecModeSelect = 0xC5;
constexpr uint8_t kNecModeSense = 0xCA;
constexpr uint8_t kTeacWriteEeprom = 0xCA;      // TEAC ATAPI drives: same byte as the NEC one
constexpr uint8_t kTeacWriteEepromScsi = 0xF2;  // TEAC CD-532S
constexpr uint8_t kReadCddaD4 = 0xD4;  // 12-byte form (Matshita) and 10-byte form (NEC)
constexpr uint8_t kReadCddaD8 = 0xD8;

// Mode page codes.
constexpr uint8_t kPageCdParameters = 0x0D;
constexpr uint8_t kPagePowerCondition = 0x1A;
constexpr uint8_t kPageToshibaSpeed = 0x20;  // also the Matshita speed page
constexpr uint8_t kPagePhilipsSpeed = 0x23;
constexpr uint8_t kPageCapabilities = 0x2A;
constexpr uint8_t kPageVendorSpeed = 0x31;  // Plextor, TEAC and CDDA12 drives
constexpr uint8_t kAllModePages = 0x3F;

// Page controls of MODE SENSE.
constexpr uint8_t kCurrentValues = 0;
constexpr uint8_t kChangeableValues = 1;
constexpr uint8_t kDefaultValues = 2;

// Target status and peripheral device type.
constexpr uint8_t kStatusCheckCondition = 0x02;
constexpr uint8_t kDeviceTypeCdRom = 0x05;

// Sense keys.
constexpr uint8_t kSenseNotReady = 0x02;
constexpr uint8_t kSenseMediumError = 0x03;
constexpr uint8_t kSenseIllegalRequest = 0x05;
constexpr uint8_t kSenseUnitAttention = 0x06;

// Additional sense codes, each followed by the qualifiers used with it.
constexpr uint8_t kAscNotReady = 0x04;
constexpr uint8_t kAscqBecomingReady = 0x01;
constexpr uint8_t kAscUnrecoveredReadError = 0x11;
constexpr uint8_t kAscParameterListLengthError = 0x1A;
constexpr uint8_t kAscInvalidOpcode = 0x20;
constexpr uint8_t kAscLbaOutOfRange = 0x21;
constexpr uint8_t kAscInvalidFieldInCdb = 0x24;
constexpr uint8_t kAscInvalidFieldInParameterList = 0x26;
constexpr uint8_t kAscMediumChanged = 0x28;
constexpr uint8_t kAscPowerOnReset = 0x29;
constexpr uint8_t kAscMediumNotPresent = 0x3A;
constexpr uint8_t kAscqTrayClosed = 0x01;
constexpr uint8_t kAscqTrayOpen = 0x02;
constexpr uint8_t kAscMediumRemovalPrevented = 0x53;
constexpr uint8_t kAscqRemovalPrevented = 0x02;
constexpr uint8_t kAscIllegalModeForTrack = 0x64;
