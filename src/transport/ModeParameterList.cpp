#include "transport/ModeParameterList.h"

#include <cstring>

#include "platform/Assert.h"
#include "transport/Bytes.h"

TModeParameterList::TModeParameterList() { Clear(); }

void TModeParameterList::Clear()
{
    std::memset(data_, 0, sizeof(data_));
    length_ = 0;
    _format = MODE_SENSE_NONE;
}

void TModeParameterList::SetFormat(uint8_t format)
{
    KALMOR_ASSERT(format == MODE_SENSE_6 || format == MODE_SENSE_10, "Targets", "f in [MODE_SENSE_6,MODE_SENSE_10]");
    _format = format;
    const int declared = format == MODE_SENSE_6 ? data_[0] + 1 : int(getBe16(data_)) + 2;
    // A drive may declare more than it could transfer into the list.
    length_ = declared < kCapacity ? declared : kCapacity;
}

uint8_t TModeParameterList::Format() const
{
    KALMOR_ASSERT(_format == MODE_SENSE_6 || _format == MODE_SENSE_10, "Targets",
                  "_format in [MODE_SENSE_6,MODE_SENSE_10]");
    return _format;
}

int TModeParameterList::Length() const
{
    Format();
    return length_;
}

void TModeParameterList::LoadBytes(const uint8_t* bytes, int count)
{
    KALMOR_ASSERT(count >= 0 && count <= kCapacity, "Targets", "LoadBytes: n > 1024");
    std::memcpy(data_, bytes, size_t(count));
    _format = MODE_SENSE_6;
    length_ = count;
}

void TModeParameterList::PrepareForSelect()
{
    if (Format() == MODE_SENSE_6) data_[0] = 0;
    else putBe16(data_, 0);
}

int TModeParameterList::HeaderSize() const { return Format() == MODE_SENSE_6 ? 4 : 8; }

int TModeParameterList::BlockDescriptorLength() const
{
    return Format() == MODE_SENSE_6 ? data_[3] : int(getBe16(data_ + 6));
}

// A page counts as present only with its page byte and its length byte inside the list.
int TModeParameterList::FindPage(uint8_t pageCode) const
{
    const int end = Length();
    int p = HeaderSize() + BlockDescriptorLength();
    while (p + 1 < end) {
        if (data_[p] == pageCode) return p;
        const int next = p + 2 + data_[p + 1];
        if (next >= end - 1) return -1;
        p = next;
    }
    return -1;
}

int TModeParameterList::GetModePageLen(uint8_t pageCode) const
{
    const int p = FindPage(pageCode);
    return p < 0 ? -1 : data_[p + 1] + 2;
}

int TModeParameterList::PageByte(uint8_t pageCode, int index) const
{
    const int p = FindPage(pageCode);
    if (p < 0 || index < 0 || index > Length() - 1 - p) return -1;
    return data_[p + index];
}

void TModeParameterList::SetPageByte(uint8_t pageCode, int index, uint8_t value)
{
    KALMOR_ASSERT(index < GetModePageLen(pageCode), "Targets", "index < GetModePageLen(pagecode)");
    const int p = FindPage(pageCode);
    if (p >= 0 && index >= 0 && index <= Length() - 1 - p) data_[p + index] = value;
}

bool TModeParameterList::IsValid10() const
{
    KALMOR_ASSERT(_format == MODE_SENSE_10, "Targets", "_format = MODE_SENSE_10");
    const int end = int(getBe16(data_)) + 2;
    if (end > kCapacity) return false;  // the answer did not fit the list
    int p = 8 + BlockDescriptorLength();
    int previous = -1;
    while (p < end) {
        if (p + 1 >= end || data_[p] <= previous) return false;
        const int next = p + 2 + data_[p + 1];
        if (next > end) return false;
        previous = data_[p];
        p = next;
    }
    return p == end;
}

// Some drives give the first page a length a few bytes longer than the answer.
bool TModeParameterList::RepairPageLength(uint8_t pageCode)
{
    KALMOR_ASSERT(_format == MODE_SENSE_10, "Targets", "_format = MODE_SENSE_10");
    const int end = int(getBe16(data_)) + 2;
    const int p = 8 + BlockDescriptorLength();
    // Page byte and length byte must lie inside the answer, so the length cannot drop below 0.
    if (end > kCapacity || p + 2 > end) return false;
    if (pageCode != kAllModePages && data_[p] != pageCode) return false;
    const int overshoot = p + 2 + data_[p + 1] - end;
    if (overshoot < 0 || overshoot > 4) return false;
    data_[p + 1] = uint8_t(data_[p + 1] - overshoot);
    return true;
}

// Some drives answer MODE SENSE(10) with a 6-byte header whose mode data length is 4 too
// high, and repeat 4 bytes at the end.
bool TModeParameterList::ConvertHeader()
{
    KALMOR_ASSERT(_format == MODE_SENSE_10, "Targets", "_format = MODE_SENSE_10");
    const int n = data_[0];
    if (n < 6) return false;
    if (std::memcmp(data_ + n - 2, data_ + n - 6, 4) != 0) return false;
    int p = 4;
    int previous = -1;
    while (p < n - 2) {
        if (data_[p] <= previous) return false;
        previous = data_[p];
        p += 2 + data_[p + 1];
    }
    if (p != n - 2) return false;

    const uint8_t mediumType = data_[1];
    const uint8_t deviceSpecific = data_[2];
    const uint8_t blockDescriptorLength = data_[3];
    std::memmove(data_ + 8, data_ + 4, size_t(n - 6));
    data_[0] = 0;
    data_[1] = uint8_t(n);
    data_[2] = mediumType;
    data_[3] = deviceSpecific;
    data_[4] = 0;
    data_[5] = 0;
    data_[6] = 0;
    data_[7] = blockDescriptorLength;
    _format = MODE_SENSE_10;
    length_ = n + 2;
    return true;
}
