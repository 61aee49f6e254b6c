// Single stored values, the version stamp and the tidying at start.
#include "settings/StoreTestSupport.h"

namespace {

platform::RegKey Product(RegRoot root = RegRoot::CurrentUser) { return platform::CreateKey(root, regnames::kProductKey); }

}  // namespace

TEST(StoreValues, ValuesOfTheWrongTypeOrRangeAreNotSet)
{
    platform::host::ClearRegistry();
    EXPECT_EQ(3, ReadStartMode());
    for (const int32_t stored : {-1, 3}) {
        Product().writeInteger("Options", stored);
        EXPECT_EQ(3, ReadStartMode()) << stored;
    }
    Product().writeString("Options", "1");
    EXPECT_EQ(3, ReadStartMode());

    // The window position needs both values.
    int32_t top = 7;
    int32_t left = 7;
    Product().writeInteger("DialogTop", 100);
    EXPECT_FALSE(ReadDialogPosition(top, left));
    ASSERT_TRUE(WriteDialogPosition(200, 300));
    ASSERT_TRUE(ReadDialogPosition(top, left));
    EXPECT_EQ(std::make_pair(200, 300), std::make_pair(top, left));
}

TEST(StoreValues, VersionStampClearsEachTreeOnItsOwnAndMisplacedKeysGo)
{
    platform::host::ClearRegistry();
    Product(RegRoot::LocalMachine).writeString("Version", regnames::kVersionStamp);
    platform::CreateKey(RegRoot::LocalMachine, regnames::DriveKey(0, 0)).writeInteger("Speed_1", 32);
    Product().writeString("Version", "1.01");
    Product().writeInteger("Options", 1);
    CheckVersionStamp(false);
    EXPECT_TRUE(platform::KeyExists(RegRoot::LocalMachine, regnames::DriveKey(0, 0)));
    EXPECT_EQ(std::vector<std::string>{"Version"}, Product().valueNames());
    CheckVersionStamp(true);
    EXPECT_FALSE(platform::KeyExists(RegRoot::LocalMachine, regnames::DriveKey(0, 0)));
    EXPECT_EQ(regnames::kVersionStamp, Product(RegRoot::LocalMachine).readString("Version"));

    platform::CreateKey(RegRoot::CurrentUser, "\\HKEY_CURRENT_USER\\Software\\Brannwick\\Kalmor\\HA0_ID0");
    platform::CreateKey(RegRoot::LocalMachine, "\\HKEY_LOCAL_MACHINE\\Software\\Brannwick\\Kalmor");
    platform::CreateKey(RegRoot::LocalMachine, "\\HKEY_CURRENT_USER\\Software");
    Product().writeInteger("Options", 0);
    RemoveMisplacedKeys();
    EXPECT_FALSE(platform::KeyExists(RegRoot::CurrentUser, "\\HKEY_CURRENT_USER") ||
                 platform::KeyExists(RegRoot::LocalMachine, "\\HKEY_LOCAL_MACHINE"));
    EXPECT_TRUE(platform::KeyExists(RegRoot::LocalMachine, "\\HKEY_CURRENT_USER\\Software"));
    EXPECT_EQ(0, ReadStartMode());
}

TEST_F(StoreTest, MeasurementsNeedTheDrivesCacheKey)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    EXPECT_FALSE(WriteMeasurement(0, 2, "12,3x", "info", true));
    EXPECT_FALSE(platform::KeyExists(RegRoot::LocalMachine, regnames::DriveKey(0, 0)));

    DetectSpeeds(0, false);
    EXPECT_EQ(std::tuple(24, -1), std::tuple(DetectedSpeed(0, 2), DetectedSpeed(0, 6)));
    ASSERT_TRUE(WriteMeasurement(0, 2, "12,3x", "info", true));
    ASSERT_TRUE(WriteMeasurement(0, 2, "24,0x", "data info", false));
    EXPECT_EQ("info 24,0x", CacheKey().readString("Speed_2_audio_inf").value_or("?") + " " + CacheKey().readString("Speed_2_data").value_or("?"));
}
