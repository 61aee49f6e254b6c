#include "emu/Disc.h"

#include <algorithm>
#include <cstring>

#include "emu/DiscIso9660.h"
#include "emu/RegularFile.h"

namespace emu {

namespace {

constexpr uint32_t kSyncLength = 12;
constexpr uint32_t kHeaderOffset = 12;
constexpr uint32_t kSubheaderOffset = 16;
constexpr uint8_t kSubmodeForm1Data = 0x08;
constexpr uint32_t kPregapFrames = 150;
// More than any CD holds (99 minutes are 912,384,000 bytes of 2048-byte blocks).
constexpr uint64_t kMaxImageBytes = 1ull << 30;

uint8_t Bcd(uint32_t value) { return uint8_t(((value / 10) << 4) | (value % 10)); }

}  // namespace

DiscTrack& Disc::addTrack(TrackKind kind, uint32_t length, int64_t start)
{
    DiscTrack track;
    track.number = tracks_.empty() ? 1 : uint8_t(tracks_.back().number + 1);
    track.session = tracks_.empty() ? 1 : tracks_.back().session;
    track.kind = kind;
    track.start = start < 0 ? leadOut() : uint32_t(start);
    track.length = length;
    tracks_.push_back(track);
    return tracks_.back();
}

std::string Disc::addImageTrack(const std::string& path, TrackKind kind)
{
    auto bytes = std::make_shared<std::vector<uint8_t>>();
    const std::string problem = ReadRegularFile(path, kMaxImageBytes, *bytes);
    if (!problem.empty()) return problem;
    const uint32_t blocks = uint32_t(bytes->size() / kBlockSize);
    if (blocks == 0) return "holds no whole block";
    addTrack(kind, blocks).image = std::move(bytes);
    return "";
}

bool Disc::readError(uint32_t lba) const
{
    return std::any_of(readErrors_.begin(), readErrors_.end(),
                       [lba](const auto& range) { return lba >= range.first && lba <= range.second; });
}

uint32_t Disc::leadOut() const
{
    uint32_t end = 0;
    for (const DiscTrack& t : tracks_) end = std::max(end, t.start + t.length);
    return end;
}

const DiscTrack* Disc::trackAt(uint32_t lba) const
{
    if (lba >= leadOut()) return nullptr;
    const DiscTrack* found = nullptr;
    for (const DiscTrack& t : tracks_) {
        if (t.start <= lba && (!found || t.start >= found->start)) found = &t;
    }
    return found;
}

uint8_t Disc::AudioByte(uint32_t lba, uint32_t offset) { return uint8_t(lba * 13 + offset * 7 + (offset >> 8)); }

uint8_t Disc::DataByte(uint32_t lba, uint32_t offset) { return PatternMedium::Byte(lba, offset); }

void Disc::userData(const DiscTrack& track, uint32_t lba, uint8_t* out) const
{
    const uint32_t index = lba - track.start;
    if (track.image) {
        const size_t offset = size_t(index) * kBlockSize;
        std::memset(out, 0, kBlockSize);
        if (offset + kBlockSize <= track.image->size()) std::memcpy(out, track.image->data() + offset, kBlockSize);
    } else if (!track.volumeId.empty() && index == kVolumeDescriptorBlock) {
        WritePrimaryVolumeDescriptor(out, track.volumeId, track.length);
    } else {
        for (uint32_t i = 0; i < kBlockSize; ++i) out[i] = DataByte(lba, i);
    }
}

bool Disc::readBlock(uint32_t lba, uint8_t* out) const
{
    const DiscTrack* track = trackAt(lba);
    if (!track || readError(lba)) return false;
    if (track->kind == TrackKind::Audio) {
        for (uint32_t i = 0; i < kBlockSize; ++i) out[i] = AudioByte(lba, i);
    } else {
        userData(*track, lba, out);
    }
    return true;
}

void Disc::rawSector(uint32_t lba, uint8_t* out) const
{
    std::memset(out, 0, kRawSectorSize);
    const DiscTrack* track = trackAt(lba);
    if (!track) return;
    if (track->kind == TrackKind::Audio) {
        for (uint32_t i = 0; i < kRawSectorSize; ++i) out[i] = AudioByte(lba, i);
        return;
    }
    if (std::find(noSync_.begin(), noSync_.end(), lba) == noSync_.end()) {
        std::memset(out + 1, 0xFF, kSyncLength - 2);
    }
    const uint32_t address = lba + kPregapFrames;
    out[kHeaderOffset] = Bcd(address / (60 * 75));
    out[kHeaderOffset + 1] = Bcd(address / 75 % 60);
    out[kHeaderOffset + 2] = Bcd(address % 75);
    out[kHeaderOffset + 3] = track->kind == TrackKind::Mode1 ? 1 : 2;
    if (track->kind == TrackKind::Mode2Form1) {
        out[kSubheaderOffset + 2] = kSubmodeForm1Data;
        out[kSubheaderOffset + 6] = kSubmodeForm1Data;
    }
    userData(*track, lba, out + UserDataOffset(track->kind));
}

}  // namespace emu
