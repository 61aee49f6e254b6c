// The drive table and the profiles, applied to emulated drives and checked by the commands sent.
#include "platform/host/Host.h"
#include "settings/StoreTestSupport.h"
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

TEST_F(StoreTest, DriveListKeepsTenCdromDrivesWithTheirTimersAndPlextorFeatures)
{
    emu::InquiryData disk;
    disk.vendor = "ACME    ";
    disk.product = "HARD DISK       ";
    auto plextor = emu::MakeCdromDrive("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00");
    plextor->modePages().setPage(emu::PageWithMask(0x31, 8, {{3, 0x04}}, {{3, 0x05}}));
    manager_->attach(0, 0, 0, MmcDrive());
    manager_->attach(0, 1, 0, std::make_shared<emu::GenericDevice>(disk));
    manager_->attach(0, 3, 0, emu::MakeCdromDrive("TEAC    ", "CD-532E         ", "3.0A"));
    manager_->attach(0, 5, 0, plextor);
    manager_->addHostAdapter("EMU_HA1");
    for (uint8_t t = 0; t < 8; ++t) manager_->attach(1, t, 0, MmcDrive("DVD-ROM SD " + std::to_string(t) + "    "));
    ASSERT_TRUE(RestartAspi());
    StartProgram();

    ASSERT_EQ(10, numDrives);  // the eleventh drive is ignored
    EXPECT_EQ("ACME FAST 32", Drives[0].DriveName);
    EXPECT_EQ("ACME SD 6", Drives[9].DriveName);
    EXPECT_EQ(std::make_pair(1, 6), std::make_pair(int(Drives[9].CDROM->HaId()), int(Drives[9].CDROM->TargetId())));
    EXPECT_EQ(1, TeacEepromDrive);
    EXPECT_EQ(std::make_pair(30, 120), std::make_pair(int(Drives[0].Idle), int(Drives[0].StandBy)));
    EXPECT_FALSE(Drives[0].HasInactivity);  // the standby timer wins
    EXPECT_FALSE(Drives[1].HasIdleTimer);

    ASSERT_TRUE(Drives[2].HasPlextorIdle && Drives[2].HasPlextorGameMode);
    ProfileKey("Default", 5).writeInteger("PlextorIdle", 1);
    ProfileKey("Default", 5).writeInteger("PlextorGameMode", 1);
    ASSERT_TRUE(LoadSettings(2, "Default"));
    EXPECT_EQ(0x01, plextor->modePages().page(emu::PageControl::Current, 0x31)[3]);
    Drives[2].PlextorGameMode = false;
    SaveSettings(2, "Default");
    EXPECT_EQ(0, ProfileKey("Default", 5).readInteger("PlextorGameMode"));
    EXPECT_EQ(platform::RegType::Missing, ProfileKey("Default", 5).valueType("Idle"));

    InactivityOption = true;
    StartProgram();
    EXPECT_TRUE(!Drives[0].HasStandbyTimer && Drives[0].HasInactivity);
    FreeDriveList();
    EXPECT_EQ(-1, TeacEepromDrive);
}

TEST_F(StoreTest, LoadSettingsAppliesSpeedAndTimersButNotTheLock)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    platform::RegKey key = ProfileKey("Default");
    key.writeInteger("Speed", 8);
    key.writeInteger("LockSpeed", 16);
    key.writeInteger("StandBy", 60);
    key.writeInteger("Idle", 45);
    DebugMode = true;
    ASSERT_TRUE(LoadSettings(0, "Default"));

    const auto speeds = Cdbs(kSetCdSpeed);
    ASSERT_EQ(1u, speeds.size());
    EXPECT_EQ(8 * 177 + 87, getBe16(&speeds[0][2]));
    EXPECT_EQ(600, LastTimer(8));
    EXPECT_EQ(450, LastTimer(4));
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
    EXPECT_EQ(600, LastTimer(4));   // default idle 60 s
    EXPECT_EQ(1200, LastTimer(8));  // standby as it was
    EXPECT_FALSE(Drives[0].UseIdleTimer);
    EXPECT_TRUE(platform::host::TakePlayedSounds().empty());
}

TEST_F(StoreTest, StoredValuesNoDriveAcceptsCountAsMissing)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    platform::RegKey key = ProfileKey("Default");
    key.writeInteger("Speed", 1000);
    key.writeInteger("LockSpeed", 300);
    key.writeInteger("StandBy", -5);
    key.writeInteger("Idle", 0x7FFFFFFF);
    ASSERT_TRUE(LoadSettings(0, "Default"));
    EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());
    EXPECT_EQ(-1, Drives[0].LockSpeed);
    EXPECT_EQ(3000, LastTimer(8));  // default standby 300 s
    EXPECT_EQ(600, LastTimer(4));   // default idle 60 s

    // A speed stored as text is no speed either; an overlong display text is cut.
    key.writeString("Speed", "8");
    key.writeInteger("LockSpeed", 16);
    key.writeString("LockSpeedStr", std::string(10000, 'x'));
    manager_->clearLog();
    ASSERT_TRUE(LoadSettings(0, "Default"));
    EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());
    EXPECT_EQ(std::string(kMaxLockSpeedStrLength, 'x'), Drives[0].LockSpeedStr);
}

TEST_F(StoreTest, SaveSettingsWritesOnlyWhatTheDriveSupports)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    ProfileKey("Default").writeInteger("Inactivity", 7);
    ProfileKey("Default").writeString("LockSpeedStr", "old");
    TDriveSettings& d = Drives[0];
    d.Speed = 8;
    d.StandBy = 60;
    d.UseStandbyTimer = true;
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

TEST_F(StoreTest, DiscIdentityNamesOneProfileKeyAndMediumChangeIsADword)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    const std::string driveKey = regnames::DriveKey(0, 0);
    platform::host::SetRawValue(RegRoot::CurrentUser, driveKey, "DetectMediumChange", platform::host::kRegSz, {'1', 0});
    EXPECT_FALSE(ReadDetectMediumChange(0) || Drives[0].DetectMediumChange);
    Drives[0].DetectMediumChange = true;
    ASSERT_TRUE(WriteDetectMediumChange(0));
    Drives[0].DetectMediumChange = false;
    EXPECT_TRUE(ReadDetectMediumChange(0) && Drives[0].DetectMediumChange);

    std::string identity = "Daten-CD/\"MY_DISC\"/1D0";
    while (identity.size() < 80) identity += "2A1/149\"";
    identity.resize(80);
    SaveSettings(0, identity);
    EXPECT_TRUE(ProfileExists(0, identity));
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
