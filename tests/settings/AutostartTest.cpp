// Program start of the settings store and the Run entry.
#include <gtest/gtest.h>

#include "platform/host/HostRegistry.h"
#include "platform/host/HostSystem.h"
#include "settings/Autostart.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"

using platform::RegRoot;

namespace {

constexpr const char* kOldPlace = "C:\\Old\\kalmor.exe";
constexpr const char* kNewPlace = "D:\\Tools\\kalmor.exe";

class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::host::ClearRegistry();
        platform::host::SetProgramFileName(kNewPlace);
    }
    void TearDown() override { platform::host::SetProgramFileName("C:\\Program Files\\Kalmor\\kalmor.exe"); }

    static platform::RegKey Run() { return platform::CreateKey(RegRoot::CurrentUser, regnames::kRunKey); }
    static std::optional<std::string> RunEntry() { return Run().readString("Kalmor"); }
    // A previous start that left start mode m and a Run entry for the old place.
    static void PreviousStart(uint8_t mode)
    {
        StartSettingsStore({});
        ASSERT_TRUE(WriteStartMode(mode));
        Run().writeString("Kalmor", std::string(kOldPlace) + " /StartUp");
    }
};

}  // namespace

TEST_F(AutostartTest, FirstStartChoosesTheStartModeAndCreatesNoRunEntry)
{
    for (const auto& [argument, mode] : {std::pair{"-foo", 2}, {"/startup", 0}}) {
        platform::host::ClearRegistry();
        StartSettingsStore({argument});
        EXPECT_EQ(std::tuple(mode, mode, mode == 0, false), std::tuple(int(StartMode), int(ReadStartMode()), bool(StartedByWindows), RunEntry().has_value()))
            << argument;
    }
}

TEST_F(AutostartTest, RunEntryFollowsTheStartModeAndTheProgramsPlace)
{
    PreviousStart(2);
    StartSettingsStore({});
    EXPECT_FALSE(RunEntry());

    for (const uint8_t mode : {0, 1}) {
        PreviousStart(mode);
        StartSettingsStore({"/StartUp"});
        EXPECT_EQ(std::string(kNewPlace) + " /StartUp", RunEntry()) << int(mode);
    }

    // An entry of another registry type is rewritten as the plain string.
    platform::host::SetRawValue(RegRoot::CurrentUser, regnames::kRunKey, "Kalmor", platform::host::kRegExpandSz,
                                {'x', 0});
    StartSettingsStore({});
    EXPECT_EQ(AutostartCommand(), RunEntry());

    // Switching off removes only our entry and reports success when there is none.
    Run().writeString("Other", "x");
    EXPECT_TRUE(SetAutostart(false) && SetAutostart(false));
    EXPECT_EQ(std::tuple(std::optional<std::string>(), std::optional<std::string>("x")), std::tuple(RunEntry(), Run().readString("Other")));
}

TEST_F(AutostartTest, ClearOptionInCapitalsEmptiesBothTrees)
{
    StartSettingsStore({});
    platform::CreateKey(RegRoot::LocalMachine, regnames::DriveKey(1, 0)).writeInteger("Speed_1", 40);
    platform::CreateKey(RegRoot::CurrentUser, regnames::ProfileKey(1, 0, "Default")).writeInteger("Speed", 8);
    WriteTabIndex(1);

    StartSettingsStore({"-CLEAR", "-Debug", "-INACTIVITY"});
    EXPECT_TRUE(DebugMode && InactivityOption);
    EXPECT_FALSE(platform::KeyExists(RegRoot::LocalMachine, regnames::DriveKey(1, 0)) ||
                 platform::KeyExists(RegRoot::CurrentUser, regnames::DriveKey(1, 0)));
    EXPECT_EQ(std::tuple(-1, 2), std::tuple(int(ReadTabIndex()), int(ReadStartMode())));  // the start mode chosen again after the clear

    StartSettingsStore({});
    EXPECT_FALSE(DebugMode || InactivityOption);
}
