#pragma once
// Emulated discs in an emulated drive of a chosen family, opened as TCDROM.
#include <functional>
#include <memory>
#include <set>

#include "drive/CDROMTestSupport.h"
#include "emu/Disc.h"

// Passes every command to the drive, except those the test wants to fail.
class FailingCommands : public emu::Device {
public:
    using Filter = std::function<bool(const std::vector<uint8_t>& cdb)>;
    FailingCommands(std::shared_ptr<emu::CdromDrive> drive, Filter fails) : drive_(std::move(drive)), fails_(std::move(fails)) {}
    uint8_t peripheralType() const override { return drive_->peripheralType(); }
    emu::Reply execute(const emu::Command& command) override
    {
        if (fails_(command.cdb)) return emu::Reply::InvalidOpcode();
        return drive_->handle(command);
    }

private:
    std::shared_ptr<emu::CdromDrive> drive_;
    Filter fails_;
};

inline FailingCommands::Filter Failing(std::set<uint8_t> opcodes)
{
    return [opcodes](const std::vector<uint8_t>& cdb) { return opcodes.count(cdb[0]) > 0; };
}

class DiscTest : public CDROMTest {
protected:
    // A drive of the family with the disc in it, opened as TCDROM of that family.
    std::unique_ptr<TCDROM> OpenWith(uint8_t family, std::shared_ptr<emu::Disc> disc,
                                     FailingCommands::Filter fails = nullptr)
    {
        emu_ = emu::MakeCdromDrive("EMULATED", "CD-ROM DISC", "1.00");
        emu_->disc().commands() = emu::DiscReadCommandsOfFamily(family);
        emu_->setMedium(std::move(disc));
        std::shared_ptr<emu::Device> device = emu_;
        if (fails) device = std::make_shared<FailingCommands>(emu_, fails);
        std::unique_ptr<TCDROM> drive = Open(device);
        drive->Family = family;
        return drive;
    }

    std::vector<uint8_t> Opcodes() const
    {
        std::vector<uint8_t> opcodes;
        for (const std::vector<uint8_t>& cdb : Cdbs()) opcodes.push_back(cdb[0]);
        return opcodes;
    }

    std::shared_ptr<emu::CdromDrive> emu_;
};

// Discs of the kinds the tests need.
inline std::shared_ptr<emu::Disc> AudioDisc(int tracks, uint32_t length)
{
    auto disc = std::make_shared<emu::Disc>();
    for (int i = 0; i < tracks; ++i) disc->addTrack(emu::TrackKind::Audio, length);
    return disc;
}

inline std::shared_ptr<emu::Disc> DataDisc(const std::string& volumeId, uint32_t length = 20000,
                                           emu::TrackKind kind = emu::TrackKind::Mode1)
{
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(kind, length).volumeId = volumeId;
    disc->setXa(kind == emu::TrackKind::Mode2Form1);
    return disc;
}

inline std::vector<uint8_t> AudioSectors(uint32_t lba, uint32_t count)
{
    std::vector<uint8_t> bytes;
    for (uint32_t s = 0; s < count; ++s) {
        for (uint32_t i = 0; i < emu::kRawSectorSize; ++i) bytes.push_back(emu::Disc::AudioByte(lba + s, i));
    }
    return bytes;
}
