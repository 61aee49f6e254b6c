#pragma once
// A mode parameter list as transferred by MODE SENSE / MODE SELECT, in the 6-byte or the
// 10-byte header format. Its contents come from a drive: every walk stays inside the list.
#include <cstdint>

#include "transport/ScsiCodes.h"  // kAllModePages selects every page

constexpr uint8_t MODE_SENSE_NONE = 0;
constexpr uint8_t MODE_SENSE_6 = 1;
constexpr uint8_t MODE_SENSE_10 = 2;

class TModeParameterList {
public:
    static constexpr int kCapacity = 1024;

    TModeParameterList();
    // Zeroed data, length 0, no format.
    void Clear();

    uint8_t* Data() { return data_; }
    const uint8_t* Data() const { return data_; }
    int Capacity() const { return kCapacity; }

    // Stores the format and takes the length from the header (never beyond the capacity).
    void SetFormat(uint8_t format);
    uint8_t Format() const;
    int Length() const;

    // A list of the caller's own making, in the 6-byte format.
    void LoadBytes(const uint8_t* bytes, int count);
    // MODE SELECT requires a mode data length of 0.
    void PrepareForSelect();

    // Page length + 2, or -1 when the page is not in the list.
    int GetModePageLen(uint8_t pageCode) const;
    // Byte index of the page (0 = page byte), or -1 when missing or beyond the list.
    int PageByte(uint8_t pageCode, int index) const;
    // Asserts index < GetModePageLen(pageCode).
    void SetPageByte(uint8_t pageCode, int index, uint8_t value);

    // Checks and mends of a MODE SENSE(10) answer; each asserts the 10-byte format.
    bool IsValid10() const;
    bool RepairPageLength(uint8_t pageCode);
    bool ConvertHeader();

private:
    int HeaderSize() const;
    int BlockDescriptorLength() const;
    // Offset of the page in the list, or -1.
    int FindPage(uint8_t pageCode) const;

    uint8_t data_[kCapacity];
    int32_t length_;
    uint8_t _format;
};
