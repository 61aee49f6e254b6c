#pragma once
// An emulated CD-ROM drive (peripheral type 5, removable) with a tray.
//
// Extending it: every command reaches CdromDrive::execute, one switch over the opcode.
// A feature area adds its cases there and keeps its handlers, declared below, in a .cpp
// file of its own (CdromSpeed.cpp, CdromDisc.cpp, ...):
// - Command-set families, speed steps, vendor commands: add the opcodes (SET CD SPEED,
//   vendor commands) to the switch. Vendor and speed pages are mode pages in modePages();
//   to react to a written page, handle kModeSelect6/kModeSelect10 in the switch by calling
//   GenericDevice::execute first and reading the store afterwards; to report a new speed,
//   put the changed page back with modePages().setPage().
// - Discs, TOC, sector reads: a disc (Disc.h) is a Medium given to setMedium() or, with
//   unit attention, to disc().changeDisc(); DiscAccess answers the disc commands before the switch.
// - Timing: a read handler sets Reply::busyMs; the manager advances the clock by it. Reads
//   take the time of the current step's rotation (CdromTiming.cpp) through DiscAccess::readTime.
#include "emu/DiscAccess.h"
#include "emu/DriveSpeedModel.h"
#include "emu/GenericDevice.h"
#include "emu/TeacEeprom.h"

namespace emu {

class CdromDrive : public GenericDevice {
public:
    // The inquiry's peripheral type and removable bit are set here.
    explicit CdromDrive(InquiryData inquiry);

    Reply execute(const Command& command) override;
    // Also lets go of the tray, stops the motor and puts the EEPROM's DAE limit in force.
    void powerCycle() override;

    bool trayOpen() const { return trayOpen_; }
    bool removalPrevented() const { return removalPrevented_; }
    DiscAccess& disc() { return disc_; }

    // Installs the speed behaviour and puts its current step into the mode pages (capabilities
    // page bytes 14-15, the vendor speed code).
    void setSpeedModel(SpeedModel model);
    const SpeedModel& speedModel() const { return speed_; }

    TeacEeprom& teacEeprom() { return teac_; }
    // Audio reads run at most this fast (speed factor); 0: no limit.
    uint32_t daeLimitFactor() const { return teac_.activeLimit(); }

private:
    Reply startStopUnit(const Command& command);

    // CdromTiming.cpp
    uint32_t readTime(uint32_t lba, uint32_t count);
    // What a read that fails with a medium error costs on top.
    uint32_t retryTime() const;
    // A change of step makes the disc change its speed before the next read.
    void selectStep(size_t step);
    // Starts the motor; the time until the disc turns at the step's speed.
    uint32_t startMotor();
    bool timed() const;
    Reply preventAllowMediumRemoval(const Command& command);

    // CdromSpeed.cpp
    Reply setCdSpeed(const Command& command);
    Reply setStreaming(const Command& command);
    Reply timedModeSense(const Command& command) const;
    Reply modeSelectFollowingSpeed(const Command& command);
    Reply getConfiguration(const Command& command) const;
    Reply getPerformance(const Command& command) const;
    Reply mechanismStatus(const Command& command) const;
    void showCurrentStep();
    void writeSpeedCode(uint8_t code);

    bool removalPrevented_ = false;
    SpeedModel speed_;
    bool spinning_ = false;
    uint32_t readyAt_ = 0;  // tick from which the disc turns at the step's speed
    uint32_t headLba_ = 0;  // block after the last one read
    double owedMs_ = 0;     // fraction of a millisecond carried to the next read
    uint32_t dueAt_ = 0;    // tick at which the last read was done
    DiscAccess disc_{*this};
    TeacEeprom teac_;
};

}  // namespace emu
