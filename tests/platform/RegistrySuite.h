#pragma once
// Behaviour every registry implementation shares: included by the native suite and by
// the Windows suite that runs under Wine against its real registry. Everything happens
// below a scratch key, deleted before and after each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Registry.h"

namespace registry_suite {

using platform::CreateKey;
using platform::DeleteKeyTree;
using platform::KeyExists;
using platform::OpenKey;
using platform::RegKey;
using platform::RegRoot;
using platform::RegType;

const RegRoot kUser = RegRoot::CurrentUser;
const RegRoot kMachine = RegRoot::LocalMachine;
const std::string kScratch = "\\Software\\KalmorRegistryTest";

inline std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

class RegistryShared : public testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        DeleteKeyTree(kUser, kScratch);
        DeleteKeyTree(kMachine, kScratch);
    }
    static std::string At(const std::string& sub) { return kScratch + "\\" + sub; }
};

TEST_F(RegistryShared, OpenFindsOnlyExistingKeysAndCreateMakesTheWholePath)
{
    EXPECT_FALSE(OpenKey(kUser, At("Drive")).isOpen());
    EXPECT_FALSE(KeyExists(kUser, At("Drive"))) << "opening must not create";

    EXPECT_TRUE(CreateKey(kUser, At("Drive\\Default")).isOpen() && KeyExists(kUser, At("Drive")));
    // The leading backslash is optional; doubled and trailing ones name the same key.
    EXPECT_TRUE(OpenKey(kUser, "Software\\KalmorRegistryTest\\Drive\\Default").isOpen() &&
                OpenKey(kUser, kScratch + "\\\\Drive\\Default\\").isOpen());

    RegKey first = CreateKey(kUser, At("Drive"));
    ASSERT_TRUE(first.writeInteger("Speed", 8));
    RegKey again = CreateKey(kUser, At("Drive"));
    EXPECT_EQ(again.readInteger("Speed"), 8) << "creating an existing key keeps its values";
    again.close();
    EXPECT_FALSE(again.writeInteger("Speed", 1));
}

TEST_F(RegistryShared, ValuesRoundTripAtAnyLength)
{
    RegKey key = CreateKey(kUser, At("Values"));
    const std::string german = "Grüße aus Köln – 5 € «ÄÖÜ» \"quoted\" \\ path";
    std::vector<uint8_t> big(65536);
    for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 7 + i / 256);
    ASSERT_TRUE(key.writeString("German", german));
    ASSERT_TRUE(key.writeString("", std::string(10000, 'x')));
    ASSERT_TRUE(key.writeString("Cut", std::string("before\0after", 12)));
    ASSERT_TRUE(key.writeBinary("Big", big));
    ASSERT_TRUE(key.writeBinary("None", {}));
    EXPECT_EQ(std::vector<std::optional<std::string>>({key.readString("German"), key.readString(""), key.readString("Cut")}),
              std::vector<std::optional<std::string>>({german, std::string(10000, 'x'), "before"}));
    EXPECT_EQ(std::vector<std::optional<std::vector<uint8_t>>>({key.readBinary("Big"), key.readBinary("None")}),
              std::vector<std::optional<std::vector<uint8_t>>>({big, std::vector<uint8_t>()}));
    for (int32_t sample : {-1, INT32_MIN, INT32_MAX}) {
        ASSERT_TRUE(key.writeInteger("Value", sample));
        EXPECT_EQ(key.readInteger("Value"), sample);
    }
}

TEST_F(RegistryShared, EachReadAcceptsItsOwnTypeOnly)
{
    RegKey key = CreateKey(kUser, At("Types"));
    ASSERT_TRUE(key.writeString("Text", "1"));
    ASSERT_TRUE(key.writeInteger("Number", 1));
    ASSERT_TRUE(key.writeBinary("Bytes", {1, 0, 0, 0}));

    EXPECT_EQ(std::tuple(key.valueType("Bytes"), key.valueType("Missing")), std::tuple(RegType::Binary, RegType::Missing));
    for (const char* other : {"Text", "Bytes", "Missing"}) EXPECT_EQ(key.readInteger(other), std::nullopt) << other;
    for (const char* other : {"Number", "Bytes", "Missing"}) EXPECT_EQ(key.readString(other), std::nullopt) << other;
    for (const char* other : {"Number", "Text", "Missing"}) EXPECT_EQ(key.readBinary(other), std::nullopt) << other;

    ASSERT_TRUE(key.writeInteger("Text", 5));
    EXPECT_EQ(std::tuple(key.valueType("Text"), key.readString("Text")), std::tuple(RegType::Integer, std::optional<std::string>()));
}

TEST_F(RegistryShared, EnumerationListsSubkeysSortedAndEveryValue)
{
    for (const char* name : {"Zeta", "alpha", "Gamma2", "Beta", "gamma1"})
        ASSERT_TRUE(CreateKey(kUser, At("List\\") + name).isOpen());
    RegKey key = OpenKey(kUser, At("List"));
    EXPECT_EQ(key.subkeyNames(), (std::vector<std::string>{"alpha", "Beta", "gamma1", "Gamma2", "Zeta"}));
    EXPECT_TRUE(key.valueNames().empty());
    for (const char* name : {"Speed", "LockSpeed", "ZoneInfo", ""}) ASSERT_TRUE(key.writeInteger(name, 1));
    EXPECT_EQ(Sorted(key.valueNames()), (std::vector<std::string>{"", "LockSpeed", "Speed", "ZoneInfo"}));
    EXPECT_TRUE(key.deleteValue("ZoneInfo") && !key.deleteValue("ZoneInfo"));
    EXPECT_EQ(Sorted(key.valueNames()), (std::vector<std::string>{"", "LockSpeed", "Speed"}));
}

TEST_F(RegistryShared, DeleteKeyTreeRemovesEverythingBelowAndNothingBeside)
{
    // The two roots are separate trees.
    ASSERT_TRUE(CreateKey(kMachine, At("HA1_ID0")).writeString("VendorId", "PLEXTOR "));
    RegKey open = CreateKey(kUser, At("HA1_ID0\\Default"));
    ASSERT_TRUE(open.writeInteger("Speed", 8));
    ASSERT_TRUE(CreateKey(kUser, At("HA1_ID0\\Disc\\Deeper\\Deepest")).writeString("x", "y"));
    ASSERT_TRUE(CreateKey(kUser, At("HA1_ID0")).writeString("VendorId", "TOSHIBA "));
    ASSERT_TRUE(CreateKey(kUser, At("HA1_ID01")).writeInteger("Speed", 4));

    EXPECT_TRUE(DeleteKeyTree(kUser, At("HA1_ID0")) && !KeyExists(kUser, At("HA1_ID0\\Disc\\Deeper\\Deepest")));
    EXPECT_EQ(std::tuple(OpenKey(kMachine, At("HA1_ID0")).valueNames(), OpenKey(kUser, kScratch).subkeyNames()),
              std::tuple(std::vector<std::string>{"VendorId"}, std::vector<std::string>{"HA1_ID01"}));
    EXPECT_FALSE(open.writeInteger("Speed", 4)) << "a handle to a deleted key fails";
    EXPECT_FALSE(DeleteKeyTree(kUser, At("HA1_ID0"))) << "already gone";
    EXPECT_FALSE(DeleteKeyTree(kUser, "\\")) << "a root is never deleted";
}

TEST_F(RegistryShared, NamesAreCaseInsensitiveAndKeepTheirFirstSpelling)
{
    RegKey key = CreateKey(kUser, At("Ärger\\Profile"));
    ASSERT_TRUE(key.writeInteger("LockSpeed", 1));
    ASSERT_TRUE(key.writeInteger("LOCKSPEED", 2));
    EXPECT_EQ(key.valueNames(), (std::vector<std::string>{"LockSpeed"}));
    EXPECT_EQ(std::tuple(key.readInteger("lockspeed"), OpenKey(kUser, At("ärger\\profile")).readInteger("LockSpeed")), std::tuple(2, 2));
    EXPECT_TRUE(CreateKey(kUser, At("ÄRGER\\profile")).isOpen());
    EXPECT_EQ(OpenKey(kUser, At("Ärger")).subkeyNames(), (std::vector<std::string>{"Profile"}));
    EXPECT_TRUE(DeleteKeyTree(kUser, At("ÄRGER")) && !KeyExists(kUser, At("Ärger")));
}

TEST_F(RegistryShared, LongProfileNamesWithQuotesAndLongPaths)
{
    // A disc identity as a profile name: 80 characters and more, quotes included.
    const std::string profile = "\"Audio-CD\" 14 Tracks 63:12 \"Best Of\" 'Live' [1998] {Disc 1/2} #*?<>| "
                                "0123456789abcdef";
    ASSERT_GE(profile.size(), 80u);
    ASSERT_TRUE(CreateKey(kUser, At("Drive\\") + profile).writeInteger("Speed", 4));
    EXPECT_EQ(OpenKey(kUser, At("Drive")).subkeyNames(), std::vector<std::string>{profile});
    EXPECT_EQ(OpenKey(kUser, At("Drive\\") + profile).readInteger("Speed"), 4);

    // The ANSI calls take paths of up to 260 characters.
    const std::string base = "Software\\KalmorRegistryTest\\" + std::string(200, 'k');
    const std::string longest = base + "\\" + std::string(259 - base.size(), 'm');
    const std::string tooLong = longest + "m";
    ASSERT_EQ(longest.size(), 260u);
    EXPECT_TRUE(CreateKey(kUser, longest).isOpen() && !CreateKey(kUser, tooLong).isOpen());
}

}  // namespace registry_suite
