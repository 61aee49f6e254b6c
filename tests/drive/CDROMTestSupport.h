#pragma once
// Drives behind the emulated ASPI manager, opened as TCDROM, with the commands they received.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "drive/CDROM.h"
#include "emu/DriveBuilder.h"
#include "platform/host/Host.h"
#include "support/AspiFixture.h"

class CDROMTest : public AspiFixture {
protected:
    // Attaches the device at target 0 and opens it; the log then starts empty.
    std::unique_ptr<TCDROM> Open(std::shared_ptr<emu::Device> device, uint8_t target = 0)
    {
        manager_->attach(0, target, 0, std::move(device));
        auto drive = std::make_unique<TCDROM>(0, target, 0);
        manager_->clearLog();
        return drive;
    }

    // The CDBs sent since the last clear, optionally only those with the given opcode.
    std::vector<std::vector<uint8_t>> Cdbs(int opcode = -1) const
    {
        std::vector<std::vector<uint8_t>> cdbs;
        for (const emu::LogEntry& entry : manager_->log()) {
            if (opcode < 0 || entry.cdb[0] == opcode) cdbs.push_back(entry.cdb);
        }
        return cdbs;
    }

    // The factors of the SET CD SPEED commands sent to target since the last clear.
    std::vector<int> SpeedsSet(uint8_t target = 0) const
    {
        std::vector<int> factors;
        for (const emu::LogEntry& entry : manager_->log())
            if (entry.target == target && entry.cdb[0] == 0xBB) factors.push_back((entry.cdb[2] << 8 | entry.cdb[3]) / 176);
        return factors;
    }

    // The data of every MODE SELECT sent since the last clear.
    std::vector<std::vector<uint8_t>> ModeSelects() const
    {
        std::vector<std::vector<uint8_t>> lists;
        for (const emu::LogEntry& entry : manager_->log()) {
            if (entry.cdb[0] == 0x15 || entry.cdb[0] == 0x55) lists.push_back(entry.dataOut);
        }
        return lists;
    }
};

// Byte index of page code in a MODE SELECT list (header of either form skipped).
inline int SelectedPageByte(const std::vector<uint8_t>& list, bool tenByte, uint8_t code, int index)
{
    size_t p = tenByte ? 8 + ((size_t(list[6]) << 8) | list[7]) : 4 + size_t(list[3]);
    while (p + 1 < list.size()) {
        if ((list[p] & 0x3F) == code) return p + size_t(index) < list.size() ? list[p + size_t(index)] : -1;
        p += 2 + list[p + 1];
    }
    return -1;
}

// The reported speed at the drive's current step.
inline uint32_t EmulatedSpeed(const emu::CdromDrive& drive) { return drive.speedModel().currentStep()->reportedKBps; }
