#pragma once
// An emulated CD: tracks of audio, Mode 1 or Mode 2 Form 1 sectors in one or more sessions,
// its TOC in formats 0 and 2, and sectors whose bytes follow from their address so that a
// test can tell which sector it got. Data tracks carry an ISO 9660 primary volume
// descriptor at their block 16, or the blocks of an ISO 9660 image file.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emu/Medium.h"
#include "emu/Rotation.h"

namespace emu {

constexpr uint32_t kRawSectorSize = 2352;

enum class TrackKind : uint8_t { Audio, Mode1, Mode2Form1 };

struct DiscTrack {
    uint8_t number = 1;
    TrackKind kind = TrackKind::Mode1;
    uint32_t start = 0;       // LBA
    uint32_t length = 0;      // blocks
    uint8_t session = 1;
    std::string volumeId;     // written into the primary volume descriptor; empty: none
    std::shared_ptr<const std::vector<uint8_t>> image;  // 2048-byte blocks from the track start
};

class Disc : public Medium {
public:
    // Appends a track numbered after the previous one. start -1: right after the previous track.
    DiscTrack& addTrack(TrackKind kind, uint32_t length, int64_t start = -1);
    // Reads an ISO 9660 image file into a new data track. Empty on success, else why not: the
    // file cannot be read, is no regular file, is larger than a CD or holds no whole block.
    std::string addImageTrack(const std::string& path, TrackKind kind = TrackKind::Mode1);
    std::vector<DiscTrack>& tracks() { return tracks_; }
    const std::vector<DiscTrack>& tracks() const { return tracks_; }

    // A0 PSEC of the full TOC: 0x20 marks a CD-ROM XA disc.
    void setXa(bool xa) { xa_ = xa; }
    bool xa() const { return xa_; }
    // The drive answers NOT READY, becoming ready (2/04/01), to every disc access.
    void setBecomingReady(bool value) { becomingReady_ = value; }
    bool becomingReady() const { return becomingReady_; }
    // Scanning velocity in mm/s (1200 to 1400 on real discs); sets how densely blocks lie.
    void setVelocity(double mmPerSecond) { velocity_ = mmPerSecond; }
    double velocity() const { return velocity_; }
    // Reads of these blocks fail with MEDIUM ERROR, unrecovered read error (3/11/00).
    void addReadError(uint32_t first, uint32_t last) { readErrors_.emplace_back(first, last); }
    bool readError(uint32_t lba) const;
    // The raw sector of this block starts without the sync pattern.
    void addSectorWithoutSync(uint32_t lba) { noSync_.push_back(lba); }
    // Replaces the drive's TOC answers byte for byte (format 0, format 2): broken drives.
    void setTocAnswer(std::vector<uint8_t> bytes) { tocAnswer_ = std::move(bytes); }
    void setFullTocAnswer(std::vector<uint8_t> bytes) { fullTocAnswer_ = std::move(bytes); }

    // First block after the last track.
    uint32_t leadOut() const;
    uint32_t blockCount() const override { return leadOut(); }
    // The 2048 user bytes of a data block (the first 2048 samples' bytes of an audio block).
    bool readBlock(uint32_t lba, uint8_t* out) const override;

    // Track of the block (the last one starting at or before it), or null beyond the disc.
    const DiscTrack* trackAt(uint32_t lba) const;
    // The whole 2352-byte sector: CD-DA samples, or sync, header, (subheader,) user data, EDC/ECC.
    void rawSector(uint32_t lba, uint8_t* out) const;
    // Byte offset of the user data inside the raw sector of a data track.
    static uint32_t UserDataOffset(TrackKind kind) { return kind == TrackKind::Mode2Form1 ? 24 : 16; }

    // Format 0 (addresses as LBA, or MSF) from the starting track on; format 2, the full TOC.
    std::vector<uint8_t> toc(bool msf, uint8_t startingTrack) const;
    std::vector<uint8_t> fullToc() const;

    // Bytes of the emulated content, for tests to compare with.
    static uint8_t AudioByte(uint32_t lba, uint32_t offset);
    static uint8_t DataByte(uint32_t lba, uint32_t offset);

private:
    void userData(const DiscTrack& track, uint32_t lba, uint8_t* out) const;

    std::vector<DiscTrack> tracks_;
    bool xa_ = false;
    bool becomingReady_ = false;
    double velocity_ = kNominalVelocity;
    std::vector<std::pair<uint32_t, uint32_t>> readErrors_;
    std::vector<uint32_t> noSync_;
    std::vector<uint8_t> tocAnswer_;
    std::vector<uint8_t> fullTocAnswer_;
};

}  // namespace emu
