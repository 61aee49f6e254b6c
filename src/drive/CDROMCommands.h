#pragma once
// Reads of page bytes that stay inside both the page and the list a drive returned.
#include <cstdint>

#include "transport/Bytes.h"
#include "transport/ModeParameterList.h"

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
