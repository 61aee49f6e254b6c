// The detection cache across several program starts over one registry, on the virtual clock.
#include "platform/host/Host.h"
#include "settings/StoreTestSupport.h"
#include "transport/ScsiCodes.h"

namespace {

std::vector<int32_t> SpeedList(const platform::RegKey& key, const std::string& prefix)
{
    std::vector<int32_t> list;
    while (const auto value = key.readInteger(prefix + "Speed_" + std::to_string(list.size() + 1))) list.push_back(*value);
    return list;
}

// A cache entry as an earlier start with a "[Audio-CD]" left it.
void SeedCache(const std::string& vendor, const std::vector<int32_t>& accepted)
{
    platform::RegKey key = platform::CreateKey(RegRoot::LocalMachine, regnames::DriveKey(0, 0));
    key.writeString("VendorId", vendor);
    key.writeString("ProductId", "CD-ROM FAST 32  ");
    key.writeString("Revision", "1.00");
    key.writeString("DetectionCDs", "[Audio-CD]");
    key.writeString("ZoneInfo", "seeded");
    for (size_t i = 0; i < accepted.size(); ++i) key.writeInteger("Speed_" + std::to_string(i + 1), accepted[i]);
}

}  // namespace

TEST_F(StoreTest, FirstDetectionFillsTheCacheAndTheNextStartUsesIt)
{
    auto device = MmcDrive();
    manager_->attach(0, 0, 0, device);
    platform::host::SetDateTimeText("24.12.2001", "18:05:00");
    StartProgram();
    DetectSpeeds(0, false);

    const std::vector<int32_t> steps = {32, 24, 16, 8, 4};
    {
        const platform::RegKey key = CacheKey();
        // The product keeps its trailing blanks.
        EXPECT_EQ(std::vector<std::optional<std::string>>({"CD-ROM FAST 32  ", "[keine CD]", "24.12.2001 / 18:05:00", Drives[0].CDROM->SpeedTableText()}),
                  std::vector<std::optional<std::string>>({key.readString("ProductId"), key.readString("DetectionCDs"),
                                                           key.readString("keine CD DateTime"), key.readString("ZoneInfo")}));
        EXPECT_EQ(1, key.readInteger("keine CD Tries"));
        EXPECT_EQ(std::tuple(steps, steps), std::tuple(SpeedList(key, "keine CD "), SpeedList(key, "")));
    }
    EXPECT_EQ(32u * 176, EmulatedSpeed(*device));  // set back to where it was

    const std::string table = Drives[0].CDROM->SpeedTableText();
    StartProgram();
    DetectSpeeds(0, false);
    EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());
    EXPECT_EQ(table, Drives[0].CDROM->SpeedTableText());
    EXPECT_EQ(1, CacheKey().readInteger("keine CD Tries"));

    // Another disc type is examined afresh and noted beside the first.
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(emu::TrackKind::Audio, 30000);
    device->setMedium(disc);
    StartProgram();
    DetectSpeeds(0, false);
    EXPECT_FALSE(Cdbs(kSetCdSpeed).empty());
    EXPECT_EQ("[keine CD][Audio-CD]", CacheKey().readString("DetectionCDs"));
}

TEST_F(StoreTest, DriveBelowItsMaximumIsExaminedThreeTimesOnly)
{
    // Reports 40x but its fastest step is 32x: the cache never satisfies it.
    manager_->attach(0, 0, 0, MmcDrive("CD-ROM FAST 40  ", 40 * 176));
    for (int start = 1; start <= 4; ++start) {
        StartProgram();
        DetectSpeeds(0, false);
        EXPECT_EQ(start <= 3, !Cdbs(kSetCdSpeed).empty()) << "start " << start;
    }
    EXPECT_EQ(3, CacheKey().readInteger("keine CD Tries"));
}

TEST_F(StoreTest, ProbingReplacesTheAcceptedListOnlyWhenItReachesFurther)
{
    manager_->attach(0, 0, 0, MmcDrive());
    StartProgram();
    // Same top step, more steps: the accepted list and its table stay.
    SeedCache("ACME    ", {32, 28, 24, 16, 8, 4});
    DetectSpeeds(0, false);  // no disc: "keine CD" is new, so it runs
    EXPECT_EQ((std::vector<int32_t>{32, 28, 24, 16, 8, 4}), SpeedList(CacheKey(), ""));
    EXPECT_EQ("seeded [Audio-CD][keine CD]", CacheKey().readString("ZoneInfo").value_or("?") + " " + CacheKey().readString("DetectionCDs").value_or("?"));

    // A lower top step is replaced, the old list deleted up to its first gap.
    platform::host::ClearRegistry();
    SeedCache("ACME    ", {24, 16, 8, 4, 2, 1});
    DetectSpeeds(0, false);
    EXPECT_EQ((std::vector<int32_t>{32, 24, 16, 8, 4}), SpeedList(CacheKey(), ""));
    EXPECT_EQ(platform::RegType::Missing, CacheKey().valueType("Speed_6"));
    EXPECT_EQ(Drives[0].CDROM->SpeedTableText(), CacheKey().readString("ZoneInfo"));
}

TEST_F(StoreTest, AnotherDriveAtTheAddressLosesTheOldSettingsAndCache)
{
    manager_->attach(0, 0, 0, MmcDrive());
    SeedCache("OTHER   ", {48});
    CacheKey().writeString("Speed_1_audio", "old result");
    ProfileKey("Default").writeInteger("Speed", 48);
    StartProgram();
    DetectSpeeds(0, false);
    EXPECT_FALSE(platform::KeyExists(RegRoot::CurrentUser, regnames::ProfileKey(0, 0, "Default")));
    EXPECT_EQ(std::tuple(std::optional<std::string>("ACME    "), std::optional<int32_t>(32), platform::RegType::Missing),
              std::tuple(CacheKey().readString("VendorId"), CacheKey().readInteger("Speed_1"), CacheKey().valueType("Speed_1_audio")));
}

TEST_F(StoreTest, DamagedCacheValuesDoNotReachTheDrive)
{
    // A maximum of 0xFFFF KB/s (372x) would start probing at 446x: no such factor is sent.
    manager_->attach(0, 0, 0, MmcDrive("CD-ROM FAST 32  ", 0xFFFF));
    StartProgram();
    DetectSpeeds(0, false);
    EXPECT_EQ(32, CacheKey().readInteger("Speed_1"));

    // A cut speed table text leaves the table empty instead of tripping the loader.
    CacheKey().writeInteger("Speed_1", 400);
    CacheKey().writeString("ZoneInfo", "0020160016");
    StartProgram();
    DetectSpeeds(0, false);
    EXPECT_TRUE(Cdbs(kSetCdSpeed).empty());
    EXPECT_FALSE(Drives[0].CDROM->SpeedTableValid);
}
