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
    EXPECT_EQ("ACME FAST 32|ACME SD 6", Drives[0].DriveName + "|" + Drives[9].DriveName);
    EXPECT_EQ(std::tuple(1, 6, 1), std::tuple(int(Drives[9].CDROM->HaId()), int(Drives[9].CDROM->TargetId()), TeacEepromDrive));
    EXPECT_EQ(std::tuple(30, 120), std::tuple(int(Drives[0].Idle), int(Drives[0].StandBy)));
    EXPECT_FALSE(Drives[0].HasInactivity || Drives[1].HasIdleTimer);  // the standby timer wins

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

// What a profile sends: its speed and timers, not its lock. Missing values and values no drive
// accepts leave the drive at its defaults (idle 60 s, standby 300 s) or as it was; without a
// profile nothing is sent. The rows run in order on one drive.
TEST_F(StoreTest, LoadSettingsAppliesSpeedAndTimersButNotTheLock)
{
    using Key = platform::RegKey;
    const struct {
        const char* what;
        std::function<void(Key&)> write;  // nullptr: no profile
        int speedSent;                    // -1: no SET CD SPEED
        int64_t idle, standby;            // tenths of a second sent; -1: none
        int lock;
        std::string lockText;
    } cases[] = {
        {"no profile", nullptr, -1, -1, -1, -1, ""},
        {"empty profile", [](Key&) {}, -1, 600, 1200, -1, ""},
        {"every value",
         [](Key& k) { k.writeInteger("Speed", 8), k.writeInteger("LockSpeed", 16), k.writeInteger("StandBy", 60), k.writeInteger("Idle", 45); },
         8 * 177 + 87, 450, 600, 16, "16x"},  // no stored text: made from the factor
        {"values no drive accepts",
         [](Key& k) { k.writeInteger("Speed", 1000), k.writeInteger("LockSpeed", 300), k.writeInteger("StandBy", -5), k.writeInteger("Idle", 0x7FFFFFFF); },
         -1, 600, 3000, -1, ""},
        {"speed as text, overlong lock text",
         [](Key& k) { k.writeString("Speed", "8"), k.writeInteger("LockSpeed", 16), k.writeString("LockSpeedStr", std::string(10000, 'x')); },
         -1, 600, 3000, 16, std::string(kMaxLockSpeedStrLength, 'x')},
    };
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    DebugMode = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::host::ClearRegistry();
        manager_->clearLog();
        if (c.write) {
            Key key = ProfileKey("Default");
            c.write(key);
        }
        EXPECT_EQ(c.write != nullptr, LoadSettings(0, "Default"));
        const auto speeds = Cdbs(kSetCdSpeed);
        EXPECT_EQ(c.speedSent, speeds.size() == 1 ? int(getBe16(&speeds[0][2])) : speeds.empty() ? -1 : -2);
        EXPECT_EQ(std::tuple(c.idle, c.standby), std::tuple(LastTimer(4), LastTimer(8)));
        EXPECT_EQ(c.write && c.idle == 450, Drives[0].UseIdleTimer);
        if (c.write) {
            EXPECT_EQ(std::tuple(c.lock, c.lockText), std::tuple(int(Drives[0].LockSpeed), Drives[0].LockSpeedStr));
        }
        const auto sounds = platform::host::TakePlayedSounds();
        EXPECT_EQ(sounds.size() == 1 ? sounds[0].name : std::to_string(sounds.size()), c.write ? "MailBeep" : "0");  // debug mode
        EXPECT_EQ(manager_->log().empty(), !c.write);
    }
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
    // Inactivity is not the drive's: left as it was.
    EXPECT_EQ(std::vector<std::optional<int32_t>>({8, -1, 60, -1, 7}),
              std::vector<std::optional<int32_t>>({key.readInteger("Speed"), key.readInteger("LockSpeed"), key.readInteger("StandBy"),
                                                   key.readInteger("Idle"), key.readInteger("Inactivity")}));
    EXPECT_EQ(platform::RegType::Missing, key.valueType("LockSpeedStr"));
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
