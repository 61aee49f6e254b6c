#pragma once
// Emulated drives for the settings store: an MMC drive with speed steps, timers and an
// optional disc, and "program starts" that rebuild the drive table over one registry.
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

    // Steps 4x, 8x, 16x, 24x, 32x; idle 30 s (default 60 s), standby 120 s (default 300 s),
    // inactivity code 5; every timer byte changeable.
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
        for (int i = 0; i < 4; ++i) {
            bytes.push_back({4 + i, uint8_t(idleSeconds * 10 >> (24 - 8 * i))});
            bytes.push_back({8 + i, uint8_t(standbySeconds * 10 >> (24 - 8 * i))});
        }
        return bytes;
    }

    static std::shared_ptr<emu::Disc> AudioDisc()
    {
        auto disc = std::make_shared<emu::Disc>();
        disc->addTrack(emu::TrackKind::Audio, 15000);
        disc->addTrack(emu::TrackKind::Audio, 15000);
        return disc;
    }

    // A program start as far as the store is concerned: the drive table is built anew over
    // the registry the previous "start" left behind. The log then starts empty.
    void StartProgram()
    {
        FreeDriveList();
        BuildDriveList();
        manager_->clearLog();
    }

    // Byte index of page code in the last MODE SELECT that carried the page; -1 when none did.
    int LastSelected(uint8_t code, int index) const
    {
        int result = -1;
        for (const emu::LogEntry& entry : manager_->log()) {
            if (entry.cdb[0] != 0x15 && entry.cdb[0] != 0x55) continue;
            const int value = SelectedPageByte(entry.dataOut, entry.cdb[0] == 0x55, code, index);
            if (value != -1) result = value;
        }
        return result;
    }
    // Four bytes from index on, most significant first.
    int64_t LastSelected32(uint8_t code, int index) const
    {
        int64_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const int byte = LastSelected(code, index + i);
            if (byte < 0) return -1;
            value = value << 8 | byte;
        }
        return value;
    }

    static platform::RegKey ProfileKey(const std::string& profile, uint8_t target = 0)
    {
        return platform::CreateKey(RegRoot::CurrentUser, regnames::ProfileKey(0, target, profile));
    }
    static platform::RegKey CacheKey(uint8_t target = 0)
    {
        return platform::OpenKey(RegRoot::LocalMachine, regnames::DriveKey(0, target));
    }
};
