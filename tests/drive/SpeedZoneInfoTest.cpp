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

TEST(SpeedZoneInfo, AddKeepsHighestFactorFirstAndEqualFactorsInArrivalOrder)
{
    TSpeedZoneInfo table;
    EXPECT_TRUE(table.Add(8, 1400, 1408));
    EXPECT_TRUE(table.Add(24, 4200, 4224));
    EXPECT_TRUE(table.Add(16, 2800, 2816));
    EXPECT_TRUE(table.Add(16, 2700, 2817));
    ASSERT_EQ(table.Count(), 4);
    EXPECT_EQ(table.Factor(0), 24);
    EXPECT_EQ(table.SetSpeed(0), 4200);
    EXPECT_EQ(table.ReportedSpeed(0), 4224);
    EXPECT_EQ(table.SetSpeed(1), 2800);
    EXPECT_EQ(table.SetSpeed(2), 2700);
    EXPECT_EQ(table.Factor(3), 8);
    EXPECT_THROW(table.Factor(4), EAssertionFailed);
    table.Clear();
    EXPECT_EQ(table.Count(), 0);
}

TEST(SpeedZoneInfo, AddRefusesTheStepAfterTheTwoHundredth)
{
    TSpeedZoneInfo table;
    for (int i = 0; i < TSpeedZoneInfo::kCapacity; ++i) ASSERT_TRUE(table.Add(i, i, i));
    const std::string before = table.SaveToText();
    EXPECT_FALSE(table.Add(500, 500, 500));
    EXPECT_EQ(table.Count(), 200);
    EXPECT_EQ(table.SaveToText(), before);
}

TEST(SpeedZoneInfo, AddAssertsUnknownValuesAndRefusesValuesTheTextCannotHold)
{
    TSpeedZoneInfo table;
    EXPECT_THROW(table.Add(-1, 100, 100), EAssertionFailed);
    EXPECT_THROW(table.Add(4, 100, -1), EAssertionFailed);
    EXPECT_FALSE(table.Add(4, 0x10000, 706));
    EXPECT_FALSE(table.Add(4, 706, -2));
    EXPECT_TRUE(table.Add(4, 0xFFFF, 0));
    EXPECT_EQ(table.Count(), 1);
}

TEST(SpeedZoneInfo, LookupTakesTheNearestStepAndTheSlowerOneOnATie)
{
    const TSpeedZoneInfo table = Table({12, 8});
    EXPECT_EQ(table.LookupSetSpeed(10), 800);
    EXPECT_EQ(table.LookupSetSpeed(11), 1200);
    EXPECT_EQ(table.LookupSetSpeed(9), 800);
    EXPECT_EQ(table.LookupSetSpeed(12), 1200);
    EXPECT_EQ(table.LookupSetSpeed(1), 800);

    const TSpeedZoneInfo wide = Table({48, 24, 16, 8});
    EXPECT_EQ(wide.LookupSetSpeed(50), 4800);
    EXPECT_EQ(wide.LookupSetSpeed(20), 1600);
    EXPECT_EQ(wide.LookupSetSpeed(21), 2400);
    EXPECT_EQ(wide.LookupSetSpeed(36), 2400);
    EXPECT_EQ(wide.LookupSetSpeed(37), 4800);
    EXPECT_EQ(TSpeedZoneInfo().LookupSetSpeed(8), -1);
}

TEST(SpeedZoneInfo, FactorOfReportedSpeedNamesTheFirstStepAtOrBelow)
{
    const TSpeedZoneInfo table = Table({24, 16, 8});
    EXPECT_EQ(table.FactorOfReportedSpeed(24 * 176), 24);
    EXPECT_EQ(table.FactorOfReportedSpeed(24 * 176 - 1), 16);
    EXPECT_EQ(table.FactorOfReportedSpeed(60000), 24);
    EXPECT_EQ(table.FactorOfReportedSpeed(8 * 176), 8);
    EXPECT_EQ(table.FactorOfReportedSpeed(8 * 176 - 1), -1);
    EXPECT_EQ(table.FactorOfReportedSpeed(-1), -1);
}

TEST(SpeedZoneInfo, TextRoundTripAndFormat)
{
    TSpeedZoneInfo table;
    EXPECT_TRUE(table.LoadFromText("0024189c18c0000402C002C0"));
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.Factor(0), 36);
    EXPECT_EQ(table.SetSpeed(0), 6300);
    EXPECT_EQ(table.ReportedSpeed(0), 6336);
    EXPECT_EQ(table.SaveToText(), "0024189C18C0000402C002C0");

    // Steps out of order in the text come out sorted.
    EXPECT_TRUE(table.LoadFromText("000402C002C00024189C18C0"));
    EXPECT_EQ(table.SaveToText(), "0024189C18C0000402C002C0");

    EXPECT_TRUE(table.LoadFromText(""));
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.SaveToText(), "");
}

TEST(SpeedZoneInfo, BadTextEmptiesTheTable)
{
    TSpeedZoneInfo table;
    ASSERT_TRUE(table.LoadFromText("0024189C18C0"));
    EXPECT_FALSE(table.LoadFromText("0024189C18C0000402C002CG"));
    EXPECT_EQ(table.Count(), 0);
    ASSERT_TRUE(table.LoadFromText("0024189C18C0"));
    EXPECT_FALSE(table.LoadFromText("-001189C18C0"));
    EXPECT_EQ(table.Count(), 0);
    EXPECT_FALSE(table.LoadFromText(std::string("0024\0\0\0\018C0", 12)));
    EXPECT_THROW(table.LoadFromText("0024189C18C"), EAssertionFailed);
}

TEST(SpeedZoneInfo, TextCheckNeverAsserts)
{
    EXPECT_TRUE(TSpeedZoneInfo::IsSpeedTableText(""));
    EXPECT_TRUE(TSpeedZoneInfo::IsSpeedTableText("0024189c18C0"));
    EXPECT_FALSE(TSpeedZoneInfo::IsSpeedTableText("0024189C18C"));
    EXPECT_FALSE(TSpeedZoneInfo::IsSpeedTableText("0024189C18C00"));
    EXPECT_FALSE(TSpeedZoneInfo::IsSpeedTableText("0024 89C18C0"));
    EXPECT_FALSE(TSpeedZoneInfo::IsSpeedTableText("0024189C18C0XXXXXXXXXXXX"));
}

TEST(SpeedZoneInfo, LoadKeepsTheFirstTwoHundredSteps)
{
    TSpeedZoneInfo full;
    for (int i = 0; i < 201; ++i) full.Add(300 - i, 1000, 1000);
    std::string text = full.SaveToText() + "000100B000B0";
    TSpeedZoneInfo table;
    EXPECT_TRUE(table.LoadFromText(text));
    EXPECT_EQ(table.Count(), 200);
    EXPECT_EQ(table.Factor(199), 101);
}
