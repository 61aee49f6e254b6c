#pragma once
// A SCSI device with the commands every device here answers: INQUIRY, TEST UNIT READY,
// START STOP UNIT, PREVENT ALLOW MEDIUM REMOVAL, READ CAPACITY, READ(6/10/12) of 2048-byte
// blocks from a replaceable medium, MODE SENSE and MODE SELECT in both forms. On its own it
// is a hard disk (peripheral type 0); CdromDrive builds the drives on it.
#include <memory>

#include "emu/Emulator.h"
#include "emu/Inquiry.h"
#include "emu/Medium.h"
#include "emu/ModePages.h"

namespace emu {

// Answers a drive gives to MODE SENSE that the transport has to cope with.
struct ModeSenseFaults {
    bool tenByteUnsupported = false;  // MODE SENSE(10) and MODE SELECT(10): invalid opcode
    uint8_t pageLengthOverrun = 0;    // first page runs this far past the end of the 10-byte answer
    bool sixByteHeaderIn10 = false;   // 10-byte answer with a 6-byte header and 4 bytes repeated
    bool descendingPages = false;     // all pages (0x3F) in descending page code order
};

class GenericDevice : public Device {
public:
    explicit GenericDevice(InquiryData inquiry);

    uint8_t peripheralType() const override { return inquiry_.peripheralType; }
    Reply execute(const Command& command) override;

    InquiryData& inquiry() { return inquiry_; }
    ModePageStore& modePages() { return modePages_; }
    ModeSenseFaults& modeSenseFaults() { return faults_; }
    // Bytes 1 and 2 of the mode parameter header and the block descriptor (empty: none).
    void setMediumType(uint8_t value) { mediumType_ = value; }
    void setDeviceSpecific(uint8_t value) { deviceSpecific_ = value; }
    void setBlockDescriptor(std::vector<uint8_t> descriptor) { blockDescriptor_ = std::move(descriptor); }
    // Null: no medium.
    void setMedium(std::shared_ptr<Medium> medium) { medium_ = std::move(medium); }
    const std::shared_ptr<Medium>& medium() const { return medium_; }

protected:
    Reply inquiryCommand(const Command& command) const;
    Reply testUnitReady() const;
    Reply readCapacity() const;
    Reply read(const Command& command) const;
    Reply modeSense(const Command& command) const;
    Reply modeSelect(const Command& command);

    // NOT READY with the reason, for a command that needs the medium; Good when it is there.
    Reply mediumReady() const;

    bool trayOpen_ = false;  // only drives with a tray open it

private:
    std::vector<uint8_t> modeSenseAnswer(bool tenByte, bool withBlockDescriptor,
                                         const std::vector<uint8_t>& pages) const;

    InquiryData inquiry_;
    ModePageStore modePages_;
    ModeSenseFaults faults_;
    uint8_t mediumType_ = 0;
    uint8_t deviceSpecific_ = 0;
    std::vector<uint8_t> blockDescriptor_;
    std::shared_ptr<Medium> medium_;
};

}  // namespace emu
