// TOC reading, track accessors, disc classification, volume label and disc identity.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "drive/CDROM.h"
#include "platform/Assert.h"
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

namespace {

constexpr const char* kUnit = "CDROMTargets";

constexpr uint8_t kTocFormatToc = 0x00;
constexpr uint8_t kTocFormatFullToc = 0x02;
constexpr uint32_t kFullTocSize = 4096;

constexpr int kTocHeader = 4;
constexpr int kTrackDescriptorSize = 8;
constexpr int kMaxTrackDescriptors = (kTocSize - kTocHeader) / kTrackDescriptorSize;
constexpr int kFullTocDescriptorSize = 11;
constexpr uint8_t kPointDiscType = 0xA0;
constexpr uint8_t kDiscTypeXa = 0x20;
constexpr uint8_t kControlData = 0x04;

constexpr uint32_t kIsoDescriptorLba = 16;
constexpr int kIsoBlockSize = 2048;
constexpr int kVolumeIdOffset = 40;
constexpr int kVolumeIdLength = 32;

// The first track number a drive may report, and the last.
constexpr int kMinTrack = 1;
constexpr int kMaxTrack = 99;

bool ReadTocCommand(TCDROM& drive, uint8_t lunBits, uint8_t format, void* buffer, uint32_t length)
{
    uint8_t cdb[10] = {kReadToc, lunBits, format, 0, 0, 0, 0 /* starting track */, 0, 0, 0};
    putBe16(cdb + 7, length);
    return drive.ExecSCSICmd(cdb, sizeof(cdb), buffer, length, DataDirection::In, true, 0);
}

bool IsLabelCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool HasPrimaryVolumeDescriptor(const uint8_t* block)
{
    return block[0] == 1 && std::memcmp(block + 1, "CD001", 5) == 0;
}

// Descriptors that the TOC length covers, never more than the TOC buffer holds.
int PresentDescriptors(const uint8_t* toc)
{
    const int covered = (int(getBe16(toc)) + 2 - kTocHeader) / kTrackDescriptorSize;
    return std::clamp(covered, 0, kMaxTrackDescriptors);
}

// Index of the first present descriptor of track t, or -1.
int DescriptorOf(const uint8_t* toc, int t)
{
    const int present = PresentDescriptors(toc);
    for (int i = 0; i < present; ++i) {
        if (toc[kTocHeader + kTrackDescriptorSize * i + 2] == t) return i;
    }
    return -1;
}

int32_t DescriptorStart(const uint8_t* toc, int i)
{
    return int32_t(getBe32(toc + kTocHeader + kTrackDescriptorSize * i + 4));
}

// Track numbers come from the drive; the accessors only take 1..99, so walks stay inside it.
int FirstWalkedTrack(TCDROM& drive) { return std::max<int>(drive.FirstTrack(), kMinTrack); }
int LastWalkedTrack(TCDROM& drive) { return std::min<int>(drive.LastTrack(), kMaxTrack); }

}  // namespace

bool TCDROM::ReadTOC()
{
    AssertExists();
    VolumeLabel.clear();
    XaDisc = false;
    // A drive may send fewer bytes than its length field claims: no stale TOC behind them.
    std::memset(TocData, 0, sizeof(TocData));
    TOCvalid = ReadTocCommand(*this, uint8_t(Lun() << 5), kTocFormatToc, TocData, kTocSize);
    if (!TOCvalid) return false;

    // The disc type lives in the full TOC; its LUN bits stay clear.
    std::vector<uint8_t> full(kFullTocSize, 0);
    if (!ReadTocCommand(*this, 0, kTocFormatFullToc, full.data(), kFullTocSize)) return true;
    const uint32_t length = getBe16(full.data());
    for (uint32_t j = 0; !XaDisc; ++j) {
        const uint32_t end = kFullTocDescriptorSize * j + kFullTocDescriptorSize;
        // The length field comes from the drive: the walk also stays inside the buffer.
        if (end > length || kTocHeader + end > kFullTocSize) break;
        const uint8_t* d = full.data() + kTocHeader + kFullTocDescriptorSize * j;
        if (d[2] == 0 && d[3] == kPointDiscType) XaDisc = d[9] == kDiscTypeXa;
    }
    return true;
}

uint8_t TCDROM::FirstTrack()
{
    AssertExists();
    KALMOR_ASSERT(TOCvalid, kUnit, "not TOCvalid");
    return TocData[2];
}

uint8_t TCDROM::LastTrack()
{
    AssertExists();
    KALMOR_ASSERT(TOCvalid, kUnit, "not TOCvalid");
    return TocData[3];
}

bool TCDROM::IsAudioTrack(int32_t t)
{
    AssertExists();
    KALMOR_ASSERT(TOCvalid, kUnit, "not TOCvalid");
    KALMOR_ASSERT(t >= kMinTrack && t <= kMaxTrack, kUnit, "not t in [1..99]");
    const int i = DescriptorOf(TocData, t);
    if (i < 0) return false;
    return (TocData[kTocHeader + kTrackDescriptorSize * i + 1] & kControlData) == 0;
}

int32_t TCDROM::TrackStart(int32_t t)
{
    AssertExists();
    KALMOR_ASSERT(TOCvalid, kUnit, "not TOCvalid");
    KALMOR_ASSERT(t >= kMinTrack && t <= kMaxTrack, kUnit, "not t in [1..99]");
    const int i = DescriptorOf(TocData, t);
    return i < 0 ? -1 : DescriptorStart(TocData, i);
}

int32_t TCDROM::TrackEnd(int32_t t)
{
    AssertExists();
    KALMOR_ASSERT(TOCvalid, kUnit, "not TOCvalid");
    KALMOR_ASSERT(t >= kMinTrack && t <= kMaxTrack, kUnit, "not t in [1..99]");
    const int i = DescriptorOf(TocData, t);
    if (i < 0 || i + 1 >= PresentDescriptors(TocData)) return -1;
    return int32_t(int64_t(DescriptorStart(TocData, i + 1)) - 1);
}

bool TCDROM::IsISO9660Track(int32_t t)
{
    AssertExists();
    KALMOR_ASSERT(TOCvalid, kUnit, "not TOCvalid");
    if (IsAudioTrack(t)) return false;
    const int64_t start = TrackStart(t);
    const int64_t end = TrackEnd(t);
    if (start == -1 || end == -1 || end < start + kIsoDescriptorLba) return false;
    // A drive may send less than the block: what it did not send must not pass for its data.
    uint8_t block[kIsoBlockSize] = {};
    if (!ReadData(uint32_t(start + kIsoDescriptorLba), 1, block, sizeof(block))) return false;
    return HasPrimaryVolumeDescriptor(block);
}

std::string TCDROM::GetVolumeLabel()
{
    AssertExists();
    KALMOR_ASSERT(TOCvalid, kUnit, "not TOCvalid");
    if (!VolumeLabel.empty()) return VolumeLabel;
    for (int t = LastWalkedTrack(*this); t >= FirstWalkedTrack(*this) && VolumeLabel.empty(); --t) {
        if (!IsISO9660Track(t)) continue;
        uint8_t block[kIsoBlockSize] = {};
        if (!ReadData(uint32_t(TrackStart(t)) + kIsoDescriptorLba, 1, block, sizeof(block))) continue;
        for (int k = 0; k < kVolumeIdLength; ++k) {
            const char c = char(block[kVolumeIdOffset + k]);
            if (IsLabelCharacter(c)) VolumeLabel += c;
        }
    }
    return VolumeLabel;
}

DiscType TCDROM::GetDiscType()
{
    AssertExists();
    KALMOR_ASSERT(TOCvalid, kUnit, "not TOCvalid");
    const int first = FirstWalkedTrack(*this);
    const int last = LastWalkedTrack(*this);
    int audio = 0;
    int data = 0;
    for (int t = first; t <= last; ++t) {
        if (IsAudioTrack(t)) ++audio;
        else ++data;
    }
    DiscType type = dtUnknown;
    if (data == 0 && audio >= 1) type = dtAudio;
    if (audio == 0) {
        if (data == 1) type = dtData;
        else if (data == 2) type = dtData2Sessions;
        else if (data == 3) type = dtData3Sessions;
        else if (data >= 4) type = dtDataMultiSession;
    }
    if (data == 1 && audio >= 1) {
        if (!IsAudioTrack(first)) type = dtMixedMode;
        if (!IsAudioTrack(last)) type = dtCDExtra;
    }
    return type;
}

std::string TCDROM::DiscTypeText() { return DiscTypeText(GetDiscType()); }

std::string TCDROM::DiscTypeText(DiscType type)
{
    static const char* const kTexts[] = {
        "Daten-CD",
        "Daten-CD (2 Sessions)",
        "Daten-CD (3 Sessions)",
        "Daten-CD (mehrere Sessions)",
        "Audio-CD",
        "Mixed-Mode-CD",
        "CD-Extra",
        "unbekannte TOC",
    };
    const int value = type & 0x7F;
    return kTexts[value < dtUnknown ? value : dtUnknown];
}

std::string TCDROM::DiscIdentity(int32_t maxLen)
{
    AssertExists();
    KALMOR_ASSERT(TOCvalid, kUnit, "not TOCvalid");
    std::string s = DiscTypeText() + "/";
    const std::string label = GetVolumeLabel();
    if (!label.empty()) s += "\"" + label + "\"/";
    // 64 bits: start addresses come from the drive and their differences may leave 32 bits.
    int64_t prev = -1;
    for (int t = FirstWalkedTrack(*this); t <= LastWalkedTrack(*this); ++t) {
        s += std::to_string(t);
        s += IsAudioTrack(t) ? "A" : "D";
        if (prev == -1) prev = TrackStart(t);
        s += std::to_string(TrackStart(t) - prev);
        prev = TrackStart(t);
        s += std::to_string(TrackEnd(t) - prev);
        prev = TrackEnd(t);
    }
    if (maxLen >= 1 && s.size() > size_t(maxLen)) s.resize(size_t(maxLen));
    return s;
}
