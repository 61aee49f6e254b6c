#pragma once
// An emulated system behind the real ASPI binding: a fresh emu::Manager per test,
// registered as the system's WNASPI32.DLL, with InitASPI32 run on it. Everything is torn
// down after the test, so tests do not see each other's adapters, targets or clock.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>

#include "emu/Emulator.h"

class AspiFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds the adapters and devices InitASPI32 finds. By default one adapter "EMU_HA"
    // with the emulator's default unique block (word alignment, 8 targets) and no device.
    virtual void BuildSystem(emu::Manager& manager);

    // Runs InitASPI32 again, after the emulated system was changed.
    bool RestartAspi();

    std::shared_ptr<emu::Manager> manager_;
    bool aspiInitialised_ = false;
};

// An HA_Unique block: alignment mask, residual flag, target count, transfer length.
std::array<uint8_t, 16> UniqueBlock(uint16_t alignMask, bool residual, uint8_t maxTargets, uint32_t maxTransfer);
