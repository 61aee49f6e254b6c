#pragma once
// Emulated drives for the settings store and "program starts" that rebuild the drive table
// over one registry.
#include <memory>
#include <string>

#include "drive/CDROMTestSupport.h"
#include "emu/Disc.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostSystem.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"

using platform::RegRoot;

class StoreTest : public CDROMTest {
protected:
    void SetUp() override
    {
        CDROMTest::SetUp();
        platform::host::ClearRegistry();
        platform::host::TakePlayedSounds();
        platform::host::SetDateTimeText("", "");
        DebugMode = false;
        InactivityOption = false;
    }
    void TearDown() override
    {
        FreeDriveList();
        CDROMTest::TearDown();
    }

    // Steps 4x to 32x; idle 30 s (default 60 s), standby 120 s (default 300 s), inactivity
    // code 5; every timer byte changeable.
    static std::shared_ptr<emu::CdromDrive> MmcDrive(const std::string& product = "CD-ROM FAST 32  ",
                                                     uint16_t maxKBps = 32 * 176)
    {
        auto device = emu::MakeCdromDrive("ACME    ", product, "1.00");
        emu::Capabilities caps;
        caps.maxReadKBps = maxKBps;
        device->modePages().setPage(emu::CapabilitiesPage(caps));
        std::vector<std::pair<int, uint8_t>> mask;
        for (int i = 4; i < 12; ++i) mask.push_back({i, 0xFF});
        auto timers = emu::PageWithMask(0x1A, 12, TimerBytes(30, 120), mask);
        timers[size_t(emu::PageControl::Default)] = emu::PageWithMask(0x1A, 12, TimerBytes(60, 300), {})[0];
        device->modePages().setPage(timers);
        device->modePages().setPage(emu::PageWithMask(0x0D, 8, {{3, 0x05}}, {{3, 0x0F}}));
        device->setSpeedModel(emu::MmcSteps({{0, 4 * 176}, {8 * 176, 8 * 176}, {16 * 176, 16 * 176},
                                             {24 * 176, 24 * 176}, {32 * 176, 32 * 176}}));
        return device;
    }

    // Bytes 4-7 (idle) and 8-11 (standby) of page 0x1A, in tenths of a second.
    static std::vector<std::pair<int, uint8_t>> TimerBytes(uint32_t idleSeconds, uint32_t standbySeconds)
    {
        std::vector<std::pair<int, uint8_t>> bytes;
        for (int i = 0; i < 8; ++i) bytes.push_back({4 + i, uint8_t((i < 4 ? idleSeconds : standbySeconds) * 10 >> (24 - 8 * (i % 4)))});
        return bytes;
    }

    void StartProgram()
    {
        FreeDriveList();
        BuildDriveList();
        manager_->clearLog();
    }

    // The four-byte timer at index of the last power condition page sent; -1 when none was.
    int64_t LastTimer(int index) const
    {
        int64_t result = -1;
        for (const emu::LogEntry& entry : manager_->log()) {
            if (entry.cdb[0] != 0x15 && entry.cdb[0] != 0x55) continue;
            int64_t value = 0;
            for (int i = 0; i < 4 && value >= 0; ++i) {
                const int byte = SelectedPageByte(entry.dataOut, entry.cdb[0] == 0x55, 0x1A, index + i);
                value = byte < 0 ? -1 : value << 8 | byte;
            }
            if (value >= 0) result = value;
        }
        return result;
    }

    static platform::RegKey ProfileKey(const std::string& profile, uint8_t target = 0)
    {
        return platform::CreateKey(RegRoot::CurrentUser, regnames::ProfileKey(0, target, profile));
    }
    static platform::RegKey CacheKey() { return platform::OpenKey(RegRoot::LocalMachine, regnames::DriveKey(0, 0)); }
};
