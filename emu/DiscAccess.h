#pragma once
// The disc commands of an emulated CD-ROM drive: READ TOC, READ(6/10/12) in the block size
// and density set by a MODE SELECT block descriptor, READ CD, the vendor CD-DA reads and the
// NEC audio switch of the command-set families, and disc changes with their unit attention.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "emu/Disc.h"
#include "emu/Emulator.h"

namespace emu {

class CdromDrive;

// The sector-read commands a drive answers beside READ(6/10/12).
struct DiscReadCommands {
    bool readCd = false;          // READ CD 0xBE
    bool cddaD8 = false;          // 12-byte vendor CD-DA read 0xD8
    bool cddaD4Long = false;      // 12-byte vendor CD-DA read 0xD4
    bool cddaD4Short = false;     // 10-byte 0xD4, only while the NEC audio switch is on
    bool necAudioSwitch = false;  // vendor page read by 0xCA, written by 0xC5; byte 6 bit 0x20
    bool audioBigEndian = false;  // READ of 2352-byte audio blocks delivers byte-swapped samples
};

// The commands of a drive of command-set family 0..9 (the program's DriveFamily numbers).
DiscReadCommands DiscReadCommandsOfFamily(uint8_t family);
constexpr uint8_t kFamilyMmc = 4;  // what a drive answers unless told otherwise

class DiscAccess {
public:
    static constexpr uint8_t kDensityDefault = 0x00;
    static constexpr uint8_t kDensityAudio = 0x82;
    static constexpr size_t kNecPageLength = 12;
    static constexpr uint8_t kNecAudioBit = 0x20;  // in byte 6 of the NEC page

    explicit DiscAccess(CdromDrive& drive) : drive_(drive) {}

    // The answer to a disc command, or nullopt for a command the drive answers itself.
    std::optional<Reply> execute(const Command& command);

    DiscReadCommands& commands() { return commands_; }
    // Puts a disc in (null: takes it out). The next command is answered once with
    // UNIT ATTENTION, medium may have changed (6/28/00); the block size returns to 2048.
    void changeDisc(std::shared_ptr<Disc> disc);

    uint8_t density() const { return density_; }
    uint32_t blockLength() const { return blockLength_; }
    std::array<uint8_t, kNecPageLength>& necPage() { return necPage_; }
    bool necAudioOn() const { return necPage_[6] & kNecAudioBit; }

    // Time in ms a read of count sectors from lba takes; unset: no time.
    std::function<uint32_t(uint32_t lba, uint32_t count)> readTime;

private:
    // What a read delivers of each sector.
    struct SectorRequest {
        enum class Source { Block, ReadCd, Cdda } source = Source::Block;
        uint8_t expectedType = 0;  // READ CD byte 1 bits 2..4
        uint8_t fields = 0;        // READ CD byte 9
    };

    // NOT READY with its reason, or nullopt when the disc can be read.
    std::optional<Reply> notReady() const;
    const Disc* disc() const;

    Reply readToc(const Command& command) const;
    Reply readBlocks(const Command& command) const;
    Reply readCd(const Command& command) const;
    Reply readCdda(const Command& command) const;
    Reply necPageIn(const Command& command) const;
    Reply necPageOut(const Command& command);
    std::optional<Reply> modeSelectBlockSize(const Command& command);

    // Reads count sectors from lba; stops producing once the SRB's buffer is full.
    Reply transfer(uint32_t lba, uint32_t count, uint32_t bufferLength, const SectorRequest& request) const;
    // Appends one sector; false with the sense of an illegal mode for the track.
    bool appendSector(const DiscTrack& track, uint32_t lba, const SectorRequest& request,
                      std::vector<uint8_t>& out) const;

    CdromDrive& drive_;
    DiscReadCommands commands_ = DiscReadCommandsOfFamily(kFamilyMmc);
    bool mediumChanged_ = false;
    uint8_t density_ = kDensityDefault;
    uint32_t blockLength_ = kBlockSize;
    std::array<uint8_t, kNecPageLength> necPage_{};
};

}  // namespace emu
