#include "support/AspiFixture.h"

#include "platform/host/Host.h"
#include "transport/AspiManager.h"

void AspiFixture::SetUp()
{
    platform::host::Reset();
    UnloadASPI32();
    manager_ = std::make_shared<emu::Manager>();
    BuildSystem(*manager_);
    emu::InstallNative(manager_);
    aspiInitialised_ = InitASPI32();
}

void AspiFixture::TearDown()
{
    UnloadASPI32();
    emu::UninstallNative();
    manager_.reset();
    platform::host::Reset();
}

void AspiFixture::BuildSystem(emu::Manager& manager) { manager.addHostAdapter("EMU_HA"); }

bool AspiFixture::RestartAspi()
{
    aspiInitialised_ = InitASPI32();
    return aspiInitialised_;
}

std::array<uint8_t, 16> UniqueBlock(uint16_t alignMask, bool residual, uint8_t maxTargets, uint32_t maxTransfer)
{
    std::array<uint8_t, 16> unique{};
    unique[0] = uint8_t(alignMask);
    unique[1] = uint8_t(alignMask >> 8);
    unique[2] = residual ? 0x02 : 0x00;
    unique[3] = maxTargets;
    unique[4] = uint8_t(maxTransfer);
    unique[5] = uint8_t(maxTransfer >> 8);
    unique[6] = uint8_t(maxTransfer >> 16);
    unique[7] = uint8_t(maxTransfer >> 24);
    return unique;
}
