#include <gtest/gtest.h>

#include "drive/SpeedZoneInfo.h"
#include "platform/Assert.h"

namespace {

TSpeedZoneInfo Table(std::initializer_list<int> factors)
{
    TSpeedZoneInfo table;
    for (int factor : factors) table.Add(factor, factor * 100, factor * 176);
    return table;
}

} // namespace

TEST(SpeedZoneInfo, AddKeepsHighestFactorFirstAndRefusesWhatItCannotHold)
{
    TSpeedZoneInfo table;
    EXPECT_TRUE(table.Add(8, 1400, 1408) && table.Add(24, 4200, 4224) && table.Add(16, 2800, 2816) && table.Add(16, 2700, 2817));
    ASSERT_EQ(table.Count(), 4);
    EXPECT_EQ(table.SaveToText(), "001810681080" "00100AF00B00" "00100A8C0B01" "000805780580");  // ties in arrival order
    EXPECT_THROW(table.Factor(4), EAssertionFailed);
    EXPECT_THROW(table.Add(-1, 100, 100), EAssertionFailed);
    EXPECT_FALSE(table.Add(4, 0x10000, 706) || table.Add(4, 706, -2));
    EXPECT_EQ(table.Count(), 4);

    table.Clear();
    for (int i = 0; i < TSpeedZoneInfo::kCapacity; ++i) ASSERT_TRUE(table.Add(i, i, i));
    const std::string before = table.SaveToText();
    EXPECT_FALSE(table.Add(500, 500, 500));
    EXPECT_EQ(std::tuple(table.Count(), table.SaveToText()), std::tuple(200, before));
}

TEST(SpeedZoneInfo, LookupTakesTheNearestStepAndTheSlowerOneOnATie)
{
    const TSpeedZoneInfo table = Table({12, 8});
    EXPECT_EQ(std::vector<int>({table.LookupSetSpeed(10), table.LookupSetSpeed(11), table.LookupSetSpeed(1),
                                Table({48, 24}).LookupSetSpeed(50), TSpeedZoneInfo().LookupSetSpeed(8)}),
              std::vector<int>({800, 1200, 800, 4800, -1}));
    const TSpeedZoneInfo steps = Table({24, 16, 8});
    EXPECT_EQ(std::vector<int>({steps.FactorOfReportedSpeed(24 * 176), steps.FactorOfReportedSpeed(24 * 176 - 1),
                                steps.FactorOfReportedSpeed(60000), steps.FactorOfReportedSpeed(8 * 176 - 1)}),
              std::vector<int>({24, 16, 24, -1}));
}

TEST(SpeedZoneInfo, Texts)
{
    TSpeedZoneInfo table;
    // Steps out of order in the text come out sorted, in upper case.
    EXPECT_TRUE(table.LoadFromText("000402C002c00024189C18C0"));
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(std::tuple(table.Factor(0), table.SaveToText()), std::tuple(36, std::string("0024189C18C0000402C002C0")));

    EXPECT_FALSE(table.LoadFromText("0024189C18C0000402C002CG"));
    EXPECT_EQ(table.Count(), 0);
    EXPECT_FALSE(table.LoadFromText("-001189C18C0") || table.LoadFromText(std::string("0024\0\0\0\018C0", 12)));
    EXPECT_THROW(table.LoadFromText("0024189C18C"), EAssertionFailed);
    EXPECT_TRUE(!TSpeedZoneInfo::IsSpeedTableText("0024 89C18C0") && TSpeedZoneInfo::IsSpeedTableText(""));

    // A text of more steps than the table holds keeps the first ones.
    TSpeedZoneInfo full;
    for (int i = 0; i < 200; ++i) full.Add(300 - i, 1000, 1000);
    EXPECT_TRUE(table.LoadFromText(full.SaveToText() + "000100B000B0"));
    EXPECT_EQ(std::tuple(table.Count(), table.Factor(199)), std::tuple(200, 101));
}
