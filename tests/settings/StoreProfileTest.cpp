// The drive table and the profiles, applied to emulated drives and checked by the commands sent.
#include "platform/host/Host.h"
#include "settings/StoreTestSupport.h"
#include "transport/ScsiCodes.h"
#include "transport/Bytes.h"

TEST_F(StoreTest, DriveListKeepsCdromDrivesWithTheirTimersAndNames)
{
    emu::InquiryData disk;
    disk.vendor = "ACME    ";
    disk.product = "HARD DISK       ";
    manager_->attach(0, 0, 0, MmcDrive("CD-ROM FAST 32  "));
    manager_->attach(0, 1, 0, std::make_shared<emu::GenericDevice>(disk));
    manager_->attach(0, 3, 0, emu::MakeCdromDrive("TEAC    ", "CD-532E         ", "3.0A"));
    manager_->attach(0, 5, 0, MmcDrive("DVD-ROM SD 16   "));
    StartProgram();

    ASSERT_EQ(3, numDrives);
    EXPECT_EQ("ACME FAST 32", Drives[0].DriveName);
    EXPECT_EQ("TEAC CD-532E", Drives[1].DriveName);
    EXPECT_EQ("ACME SD 16", Drives[2].DriveName);
    EXPECT_EQ(5, Drives[2].CDROM->TargetId());
    EXPECT_EQ(1, TeacEepromDrive);

    EXPECT_EQ(std::make_pair(30, 120), std::make_pair(int(Drives[0].Idle), int(Drives[0].StandBy)));
    EXPECT_FALSE(Drives[0].HasInactivity);  // the standby timer wins
    EXPECT_FALSE(Drives[1].HasIdleTimer);

    InactivityOption = true;
    StartProgram();
    EXPECT_TRUE(!Drives[0].HasStandbyTimer && Drives[0].HasInactivity);
    FreeDriveList();
    EXPECT_EQ(-1, TeacEepromDrive);
}

class TwoAdapterStoreTest : public StoreTest {
protected:
    void BuildSystem(emu::Manager& manager) override
    {
        manager.addHostAdapter("EMU_HA0");
        manager.addHostAdapter("EMU_HA1");
        for (uint8_t ha = 0; ha < 2; ++ha) {
            for (uint8_t t = 0; t < 8; ++t) {
                manager.attach(ha, t, 0, emu::MakeCdromDrive("ACME    ", "CD " + std::to_string(ha * 8 + t) + "            ", "1.00"));
            }
        }
    }
};

TEST_F(TwoAdapterStoreTest, DrivesBeyondTheTenthAreIgnored)
{
    StartProgram();
    ASSERT_EQ(10, numDrives);
    EXPECT_EQ(1, Drives[9].CDROM->HaId());
    EXPECT_EQ(1, Drives[9].CDROM->TargetId());
}

TEST_F(StoreTest, LoadSettingsAppliesSpeedAndTimersButNotTheLock)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    {
        platform::RegKey key = ProfileKey("Default");
        key.writeInteger("Speed", 8);
        key.writeInteger("LockSpeed", 16);
        key.writeInteger("StandBy", 60);
        key.writeInteger("Idle", 45);
    }
    DebugMode = true;
    ASSERT_TRUE(LoadSettings(0, "Default"));

    const auto speeds = Cdbs(kSetCdSpeed);
    ASSERT_EQ(1u, speeds.size());
    EXPECT_EQ(8 * 177 + 87, getBe16(&speeds[0][2]));
    EXPECT_EQ(600, LastSelected32(0x1A, 8));
    EXPECT_EQ(450, LastSelected32(0x1A, 4));
    EXPECT_EQ("16x", Drives[0].LockSpeedStr);  // no stored text: made from the factor
    const auto sounds = platform::host::TakePlayedSounds();
    ASSERT_EQ(1u, sounds.size());
    EXPECT_EQ("MailBeep", sounds[0].name);
}

TEST_F(StoreTest, EmptyProfileRestoresOnlyTheDefaultIdleTime)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    EXPECT_FALSE(LoadSettings(0, "Default"));
    EXPECT_TRUE(manager_->log().empty());

    ProfileKey("Default");
    ASSERT_TRUE(LoadSettings(0, "Default"));
    EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());
    EXPECT_EQ(600, LastSelected32(0x1A, 4));   // default idle 60 s
    EXPECT_EQ(1200, LastSelected32(0x1A, 8));  // standby as it was
    EXPECT_FALSE(Drives[0].UseIdleTimer);
    EXPECT_TRUE(platform::host::TakePlayedSounds().empty());
}

TEST_F(StoreTest, StoredValuesNoDriveAcceptsCountAsMissing)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    {
        platform::RegKey key = ProfileKey("Default");
        key.writeInteger("Speed", 1000);
        key.writeInteger("LockSpeed", 300);
        key.writeString("LockSpeedStr", "300x");
        key.writeInteger("StandBy", -5);
        key.writeInteger("Idle", 0x7FFFFFFF);
    }
    ASSERT_TRUE(LoadSettings(0, "Default"));
    EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());
    EXPECT_TRUE(platform::host::TakeMessages().empty());
    EXPECT_EQ(-1, Drives[0].LockSpeed);
    EXPECT_EQ(3000, LastSelected32(0x1A, 8));  // default standby 300 s
    EXPECT_EQ(600, LastSelected32(0x1A, 4));   // default idle 60 s

    // A speed stored as text is no speed either; an overlong display text is cut.
    {
        platform::RegKey key = ProfileKey("Default");
        key.writeString("Speed", "8");
        key.writeInteger("LockSpeed", 16);
        key.writeString("LockSpeedStr", std::string(10000, 'x'));
    }
    manager_->clearLog();
    ASSERT_TRUE(LoadSettings(0, "Default"));
    EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());
    EXPECT_EQ(16, Drives[0].LockSpeed);
    EXPECT_EQ(std::string(kMaxLockSpeedStrLength, 'x'), Drives[0].LockSpeedStr);
}

TEST_F(StoreTest, PlextorFeaturesFollowTheProfile)
{
    auto device = emu::MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00");
    device->modePages().setPage(emu::PageWithMask(0x31, 8, {{3, 0x04}}, {{3, 0x05}}));
    manager_->attach(0, 0, 0, device);
    StartProgram();
    ASSERT_TRUE(Drives[0].HasPlextorIdle && Drives[0].HasPlextorGameMode);
    {
        platform::RegKey key = ProfileKey("Default");
        key.writeInteger("PlextorIdle", 1);
        key.writeInteger("PlextorGameMode", 1);
    }
    ASSERT_TRUE(LoadSettings(0, "Default"));
    EXPECT_EQ(0x01, device->modePages().page(emu::PageControl::Current, 0x31)[3]);

    Drives[0].PlextorGameMode = false;
    SaveSettings(0, "CD-Extra/9D0");
    EXPECT_EQ(0, ProfileKey("CD-Extra/9D0").readInteger("PlextorGameMode"));
    EXPECT_EQ(platform::RegType::Missing, ProfileKey("CD-Extra/9D0").valueType("Idle"));
}

TEST_F(StoreTest, SaveSettingsWritesOnlyWhatTheDriveSupports)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    {
        platform::RegKey key = ProfileKey("Default");
        key.writeInteger("Inactivity", 7);
        key.writeString("LockSpeedStr", "old");
    }
    TDriveSettings& d = Drives[0];
    d.Speed = 8;
    d.StandBy = 60;
    d.UseStandbyTimer = true;
    d.Idle = 45;
    d.UseIdleTimer = false;
    SaveSettings(0, "Default");
    const platform::RegKey key = ProfileKey("Default");
    EXPECT_EQ(8, key.readInteger("Speed"));
    EXPECT_EQ(-1, key.readInteger("LockSpeed"));
    EXPECT_EQ(platform::RegType::Missing, key.valueType("LockSpeedStr"));
    EXPECT_EQ(60, key.readInteger("StandBy"));
    EXPECT_EQ(-1, key.readInteger("Idle"));
    EXPECT_EQ(7, key.readInteger("Inactivity"));  // not the drive's: left as it was
    d.LockSpeed = 24;
    d.LockSpeedStr = "11x-24x CAV";
    SaveSettings(0, "Default");
    EXPECT_EQ("11x-24x CAV", ProfileKey("Default").readString("LockSpeedStr"));
}

TEST_F(StoreTest, DiscIdentityNamesOneProfileKeyAndBackslashesNone)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    std::string identity = "Daten-CD/\"MY_DISC\"/1D0";
    while (identity.size() < 80) identity += "2A1/149\"";
    identity.resize(80);
    Drives[0].DetectMediumChange = true;
    ASSERT_TRUE(WriteDetectMediumChange(0));

    SaveSettings(0, identity);
    EXPECT_TRUE(ProfileExists(0, identity));
    const std::string driveKey = regnames::DriveKey(0, 0);
    EXPECT_EQ(std::vector<std::string>{identity}, platform::OpenKey(RegRoot::CurrentUser, driveKey).subkeyNames());

    for (const std::string bad : {"Audio\\CD", "", "\\"}) {
        SaveSettings(0, bad);
        EXPECT_FALSE(LoadSettings(0, bad));
        DeleteProfile(0, bad);
    }
    const platform::RegKey drive = platform::OpenKey(RegRoot::CurrentUser, driveKey);
    EXPECT_EQ(std::vector<std::string>{identity}, drive.subkeyNames());
    EXPECT_EQ(1, drive.readInteger("DetectMediumChange"));

    DeleteProfile(0, identity);
    EXPECT_FALSE(ProfileExists(0, identity));
    EXPECT_TRUE(platform::KeyExists(RegRoot::CurrentUser, driveKey));
}

TEST_F(StoreTest, DetectMediumChangeIsReadOnlyFromADword)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    const std::string driveKey = regnames::DriveKey(0, 0);
    platform::host::SetRawValue(RegRoot::CurrentUser, driveKey, "DetectMediumChange", platform::host::kRegSz,
                                {'1', 0});
    EXPECT_FALSE(ReadDetectMediumChange(0));
    EXPECT_FALSE(Drives[0].DetectMediumChange);

    Drives[0].DetectMediumChange = true;
    ASSERT_TRUE(WriteDetectMediumChange(0));
    Drives[0].DetectMediumChange = false;
    EXPECT_TRUE(ReadDetectMediumChange(0) && Drives[0].DetectMediumChange);
}
