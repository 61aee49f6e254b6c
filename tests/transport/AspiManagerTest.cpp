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
    EXPECT_EQ(ASPIStatusText() + "|" + ASPIDLLPath(), "|C:\\windows\\system32\\WNASPI32.DLL");
    ASSERT_EQ(HostAdaptorCount(), 1);
    const HostAdaptor& ha = HostAdaptorRecord(0);
    EXPECT_EQ(std::tuple(int(ha.MaxTargets), ha.Align, ha.MaxTLen, bool(ha.Residual), HostAdaptorName(0)),
              std::tuple(16, 7u, 0x20000u, true, std::string("EMU_HA")));
    EXPECT_EQ(HostAdaptorInfo(0), "HA=00, ID=07, MaxTLen=00020000, MaxTargets=10, Align=00000007, Residual");
    EXPECT_THROW(HostAdaptorName(1), EAssertionFailed);
}

TEST_F(AspiManagerTest, MissingManagerOrEntryPointIsReportedNotFatal)
{
    UnloadASPI32();
    emu::UninstallNative();
    EXPECT_FALSE(InitASPI32());
    EXPECT_EQ(std::tuple(ASPIStatusText(), HostAdaptorCount(), ASPIDLLPath()), std::tuple(std::string("not LoadASPI32"), 0, std::string()));

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
        EXPECT_EQ(std::tuple(ASPIStatusText(), HostAdaptorCount()), std::tuple(std::string(text), 0));
    }
    // No adapters without an error status is success with a count of 0.
    manager_->setSupportInfoOverride(0x0100);
    EXPECT_TRUE(RestartAspi());
    EXPECT_EQ(std::tuple(ASPIStatusText(), HostAdaptorCount()), std::tuple(std::string(), 0));
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
        EXPECT_EQ(std::tuple(ha.MaxTLen, ha.Align, int(ha.MaxTargets), bool(ha.Residual), ha.HA_UniqueText.empty()),
                  std::tuple(c.maxTLen, c.align, c.maxTargets, c.residual, !c.dumped));
    }
    // Letters show as themselves, other bytes in hexadecimal.
    auto unique = UniqueBlock(1, true, 16, 0x8000);
    std::memcpy(&unique[8], "Az_-", 4);
    manager_->hostAdapter(0).unique = unique;
    ASSERT_TRUE(RestartAspi());
    EXPECT_NE(HostAdaptorInfo(0).find("HA_Unique= 01.00.02.10.00.80.00.00.41A7Az5F_2D.00."), std::string::npos);
}

// The identifier keeps only name characters up to the zero byte.
TEST_F(AspiManagerTest, AdaptersBeyondTheEighthAreNeitherInquiredNorCounted)
{
    const char raw[16] = {'E', 'M', 'U', ' ', 'H', 'A', '#', '1', ',', '/', 0, 'X', 'Y', 'Z', 'Z', 'Z'};
    std::memcpy(manager_->hostAdapter(0).identifier.data(), raw, 16);
    for (int i = 1; i < 11; ++i) manager_->addHostAdapter("HA" + std::to_string(i));
    const size_t before = manager_->srbCount();
    EXPECT_TRUE(RestartAspi());
    EXPECT_EQ(std::tuple(HostAdaptorCount(), manager_->srbCount() - before), std::tuple(8, size_t(8)));
    EXPECT_EQ(HostAdaptorName(0) + " " + HostAdaptorName(7), "EMUHA1,/ HA7");
    EXPECT_THROW(HostAdaptorName(8), EAssertionFailed);
}

}  // namespace
