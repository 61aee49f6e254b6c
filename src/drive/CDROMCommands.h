#pragma once
// Opcodes and mode pages of the drive layer's own commands, and reads of page bytes that stay
// inside both the page and the list a drive returned.
#include <cstdint>

#include "transport/Bytes.h"
#include "transport/ModeParameterList.h"

constexpr uint8_t kReadCapacity = 0x25;
constexpr uint8_t kGetConfiguration = 0x46;
constexpr uint8_t kGetPerformance = 0xAC;
constexpr uint8_t kSetCdSpeed = 0xBB;
constexpr uint8_t kMechanismStatus = 0xBD;

constexpr uint8_t kPageCdParameters = 0x0D;
constexpr uint8_t kPagePowerCondition = 0x1A;
constexpr uint8_t kPageToshibaSpeed = 0x20;  // also the Matshita speed page
constexpr uint8_t kPagePhilipsSpeed = 0x23;
constexpr uint8_t kPageCapabilities = 0x2A;
constexpr uint8_t kPageVendorSpeed = 0x31;   // Plextor, TEAC and CDDA12 drives

// Page controls of MODE SENSE.
constexpr uint8_t kCurrentValues = 0;
constexpr uint8_t kChangeableValues = 1;
constexpr uint8_t kDefaultValues = 2;

// True when the page reaches byte index (0 = page code byte) and the list holds that byte.
inline bool PageHolds(const TModeParameterList& list, uint8_t page, int index)
{
    return index >= 0 && index < list.GetModePageLen(page) && list.PageByte(page, index) >= 0;
}

// Byte index of the page, or -1 when the page does not hold it.
inline int PageValue(const TModeParameterList& list, uint8_t page, int index)
{
    return PageHolds(list, page, index) ? list.PageByte(page, index) : -1;
}

// Bytes index and index + 1 big-endian, or -1 when the page does not hold both.
inline int PageBe16(const TModeParameterList& list, uint8_t page, int index)
{
    if (!PageHolds(list, page, index + 1)) return -1;
    const uint8_t bytes[2] = {uint8_t(list.PageByte(page, index)), uint8_t(list.PageByte(page, index + 1))};
    return int(getBe16(bytes));
}

// A list read with MODE SENSE(6) that declares more than 255 bytes cannot go back with
// MODE SELECT(6).
inline bool CanSelect(const TModeParameterList& list)
{
    return list.Format() == MODE_SENSE_10 || list.Length() <= 255;
}
