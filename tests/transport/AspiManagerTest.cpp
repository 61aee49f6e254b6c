#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "platform/Assert.h"
#include "platform/host/Host.h"
#include "support/AspiFixture.h"
#include "transport/AspiManager.h"

namespace {

uint32_t SupportInfoOnly() { return 0x0100; }

class AspiManagerTest : public AspiFixture {
protected:
    void BuildSystem(emu::Manager& manager) override
    {
        manager.addHostAdapter("EMU_HA", 7).unique = UniqueBlock(7, true, 16, 0x20000);
    }
};

TEST_F(AspiManagerTest, InquiresTheAdapterAndDescribesIt)
{
    ASSERT_TRUE(aspiInitialised_);
    EXPECT_EQ(ASPIStatusText(), "");
    EXPECT_EQ(ASPIDLLPath(), "C:\\windows\\system32\\WNASPI32.DLL");
    ASSERT_EQ(HostAdaptorCount(), 1);
    const HostAdaptor& ha = HostAdaptorRecord(0);
    EXPECT_EQ(ha.MaxTargets, 16);
    EXPECT_EQ(ha.Align, 7u);
    EXPECT_EQ(ha.MaxTLen, 0x20000u);
    EXPECT_TRUE(ha.Residual);
    EXPECT_EQ(HostAdaptorName(0), "EMU_HA");
    EXPECT_EQ(HostAdaptorInfo(0), "HA=00, ID=07, MaxTLen=00020000, MaxTargets=10, Align=00000007, Residual");
    EXPECT_THROW(HostAdaptorName(1), EAssertionFailed);
}

TEST_F(AspiManagerTest, MissingManagerOrEntryPointIsReportedNotFatal)
{
    UnloadASPI32();
    emu::UninstallNative();
    EXPECT_FALSE(InitASPI32());
    EXPECT_EQ(ASPIStatusText(), "not LoadASPI32");
    EXPECT_EQ(HostAdaptorCount(), 0);
    EXPECT_EQ(ASPIDLLPath(), "");

    platform::host::RegisterModule("C:\\windows\\system32\\WNASPI32.DLL",
                                   {{"GetASPI32SupportInfo", reinterpret_cast<void*>(&SupportInfoOnly)}});
    EXPECT_FALSE(InitASPI32());
    EXPECT_EQ(ASPIStatusText(), "not LoadASPI32");
    EXPECT_EQ(platform::host::LoadedModuleCount(), 0);
}

TEST_F(AspiManagerTest, ErrorStatusesAreNamed)
{
    const std::pair<uint32_t, const char*> cases[] = {{0x0000E800, "SS_NO_ADAPTERS"},
                                                      {0x12347F03, "bad ASPIStatus(12347F03)"}};
    for (const auto& [info, text] : cases) {
        manager_->setSupportInfoOverride(info);
        EXPECT_FALSE(RestartAspi());
        EXPECT_EQ(ASPIStatusText(), text);
        EXPECT_EQ(HostAdaptorCount(), 0);
    }
    // No adapters without an error status is success with a count of 0.
    manager_->setSupportInfoOverride(0x0100);
    EXPECT_TRUE(RestartAspi());
    EXPECT_EQ(ASPIStatusText(), "");
    EXPECT_EQ(HostAdaptorCount(), 0);
}

TEST_F(AspiManagerTest, ImplausibleUniqueBlockIsReplacedByDefaultsAndDumped)
{
    struct Case {
        std::array<uint8_t, 16> unique;
        uint32_t maxTLen, align;
        int maxTargets;
        bool residual, dumped;
    };
    const Case cases[] = {
        {UniqueBlock(1, true, 16, 0x8000), 0x10000, 3, 8, false, true},     // transfer length too short
        {UniqueBlock(2, true, 16, 0x20000), 0x20000, 3, 8, false, true},    // alignment mask 2
        {UniqueBlock(255, false, 8, 0x80020000), 0x20000, 255, 8, false, false},  // top bit not part of the length
    };
    for (const Case& c : cases) {
        manager_->hostAdapter(0).unique = c.unique;
        ASSERT_TRUE(RestartAspi());
        const HostAdaptor& ha = HostAdaptorRecord(0);
        EXPECT_EQ(ha.MaxTLen, c.maxTLen);
        EXPECT_EQ(ha.Align, c.align);
        EXPECT_EQ(ha.MaxTargets, c.maxTargets);
        EXPECT_EQ(ha.Residual, c.residual);
        EXPECT_EQ(ha.HA_UniqueText.empty(), !c.dumped);
    }
    // Letters show as themselves, other bytes in hexadecimal.
    auto unique = UniqueBlock(1, true, 16, 0x8000);
    std::memcpy(&unique[8], "Az_-", 4);
    manager_->hostAdapter(0).unique = unique;
    ASSERT_TRUE(RestartAspi());
    EXPECT_NE(HostAdaptorInfo(0).find("HA_Unique= 01.00.02.10.00.80.00.00.41A7Az5F_2D.00."), std::string::npos);
}

TEST_F(AspiManagerTest, IdentifierKeepsOnlyNameCharactersUpToTheZeroByte)
{
    const char raw[16] = {'E', 'M', 'U', ' ', 'H', 'A', '#', '1', ',', '/', 0, 'X', 'Y', 'Z', 'Z', 'Z'};
    std::memcpy(manager_->hostAdapter(0).identifier.data(), raw, 16);
    ASSERT_TRUE(RestartAspi());
    EXPECT_EQ(HostAdaptorName(0), "EMUHA1,/");
}

TEST_F(AspiManagerTest, AdaptersBeyondTheEighthAreNeitherInquiredNorCounted)
{
    for (int i = 1; i < 11; ++i) manager_->addHostAdapter("HA" + std::to_string(i));
    const size_t before = manager_->srbCount();
    EXPECT_TRUE(RestartAspi());
    EXPECT_EQ(HostAdaptorCount(), 8);
    EXPECT_EQ(manager_->srbCount() - before, 8u);
    EXPECT_EQ(HostAdaptorName(7), "HA7");
    EXPECT_THROW(HostAdaptorName(8), EAssertionFailed);
}

}  // namespace
