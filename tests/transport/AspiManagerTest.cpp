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
    EXPECT_EQ(platform::host::LoadedModuleCount(), 0);
    EXPECT_THROW(ASPISendCommand(nullptr), EAssertionFailed);
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

TEST_F(AspiManagerTest, SystemDirectoryIsJoinedWithOneBackslash)
{
    UnloadASPI32();
    emu::UninstallNative();
    emu::SetCurrent(manager_);
    platform::host::RegisterModule("D:\\WIN\\SYS\\WNASPI32.DLL",
                                   {{"SendASPI32Command", reinterpret_cast<void*>(&emu::SendASPI32Command)},
                                    {"GetASPI32SupportInfo", reinterpret_cast<void*>(&emu::GetASPI32SupportInfo)}});
    for (const char* dir : {"D:\\WIN\\SYS", "D:\\WIN\\SYS\\"}) {
        platform::host::SetSystemDirectory(dir);
        EXPECT_TRUE(InitASPI32()) << dir;
        EXPECT_EQ(ASPIDLLPath(), "D:\\WIN\\SYS\\WNASPI32.DLL") << dir;
        UnloadASPI32();
    }
    // A directory that does not fit 200 characters is dropped: the search path finds the file.
    platform::host::SetSystemDirectory("C:\\" + std::string(210, 'x'));
    EXPECT_TRUE(LoadASPI32());
    EXPECT_EQ(ASPIDLLPath(), "D:\\WIN\\SYS\\WNASPI32.DLL");
    UnloadASPI32();
    platform::host::UnregisterModule("D:\\WIN\\SYS\\WNASPI32.DLL");
}

TEST_F(AspiManagerTest, ErrorStatusesAreNamed)
{
    const std::pair<uint32_t, const char*> cases[] = {{0x0000E800, "SS_NO_ADAPTERS"},
                                                      {0x0000EB00, "SS_BAD_INSTALL"},
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
        {UniqueBlock(0, true, 12, 0x20000), 0x20000, 3, 8, false, true},    // 12 targets
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
    auto unique = UniqueBlock(1, true, 16, 0x8000);
    std::memcpy(&unique[8], "Az_-", 4);
    manager_->hostAdapter(0).unique = unique;
    ASSERT_TRUE(RestartAspi());
    const std::string dump = "01.00.02.10.00.80.00.00.41A7Az5F_2D.00.00.00.00.";
    EXPECT_EQ(HostAdaptorRecord(0).HA_UniqueText, dump);
    EXPECT_EQ(HostAdaptorInfo(0), "HA=00, ID=07, MaxTLen=00010000, MaxTargets=08, Align=00000003, HA_Unique= " + dump);
}

TEST_F(AspiManagerTest, IdentifierKeepsOnlyNameCharactersUpToTheZeroByte)
{
    const char raw[16] = {'E', 'M', 'U', ' ', 'H', 'A', '#', '1', ',', '/', 0, 'X', 'Y', 'Z', 'Z', 'Z'};
    std::memcpy(manager_->hostAdapter(0).identifier.data(), raw, 16);
    ASSERT_TRUE(RestartAspi());
    EXPECT_EQ(HostAdaptorName(0), "EMUHA1,/");

    std::memcpy(manager_->hostAdapter(0).identifier.data(), "ABCDEFGHIJKLMNOP", 16);
    ASSERT_TRUE(RestartAspi());
    EXPECT_EQ(HostAdaptorName(0), "ABCDEFGHIJKLMNOP");
}

TEST_F(AspiManagerTest, FailedInquiryKeepsTheOldRecordAndInquiresTheOthers)
{
    manager_->addHostAdapter("SECOND");
    ASSERT_TRUE(RestartAspi());
    manager_->hostAdapter(0).inquiryFails = true;
    std::memcpy(manager_->hostAdapter(0).identifier.data(), "CHANGED\0\0\0\0\0\0\0\0", 16);
    std::memcpy(manager_->hostAdapter(1).identifier.data(), "RENAMED\0\0\0\0\0\0\0\0", 16);
    EXPECT_FALSE(RestartAspi());
    EXPECT_EQ(ASPIStatusText(), "");
    EXPECT_EQ(HostAdaptorCount(), 2);
    EXPECT_EQ(HostAdaptorName(0), "EMU_HA");
    EXPECT_EQ(HostAdaptorName(1), "RENAMED");
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
