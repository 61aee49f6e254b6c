#include <gtest/gtest.h>

#include "drive/SpeedTables.h"
#include "drive/SpeedZoneInfo.h"

namespace {

TSpeedZoneInfo BuiltIn(int model, const std::string& revision)
{
    std::string text;
    EXPECT_TRUE(FindBuiltInSpeedTable(model, revision, text)) << model;
    TSpeedZoneInfo table;
    EXPECT_TRUE(table.LoadFromText(text)) << model;
    return table;
}

const BuiltInSpeedTable& Row(int model)
{
    for (int i = 0; i < kBuiltInSpeedTableCount; ++i) {
        if (kBuiltInSpeedTables[i].model == model) return kBuiltInSpeedTables[i];
    }
    ADD_FAILURE() << "no row for model " << model;
    return kBuiltInSpeedTables[0];
}

} // namespace

TEST(SpeedTables, EveryTextLoadsAlreadyInTableOrder)
{
    EXPECT_EQ(kBuiltInSpeedTableCount, 85);
    for (int i = 0; i < kBuiltInSpeedTableCount; ++i) {
        const BuiltInSpeedTable& row = kBuiltInSpeedTables[i];
        const std::string text = SpeedTableText(row);
        ASSERT_TRUE(TSpeedZoneInfo::IsSpeedTableText(text)) << row.model;
        TSpeedZoneInfo table;
        ASSERT_TRUE(table.LoadFromText(text)) << row.model;
        EXPECT_GT(table.Count(), 0) << row.model;
        EXPECT_EQ(table.SaveToText(), text) << row.model;
        for (int step = 1; step < table.Count(); ++step) EXPECT_LT(table.Factor(step), table.Factor(step - 1)) << row.model;
        // Each row is reachable with its first revision prefix.
        std::string found;
        const std::string revision = row.revisions[0] != nullptr ? row.revisions[0] : "ANY";
        ASSERT_TRUE(FindBuiltInSpeedTable(row.model, revision, found)) << row.model;
        EXPECT_EQ(found, text) << row.model;
    }
}

TEST(SpeedTables, SampleRowsDecodeToTheirSteps)
{
    const TSpeedZoneInfo cyber36 = BuiltIn(21, "110B");
    ASSERT_EQ(cyber36.Count(), 7);
    EXPECT_EQ(cyber36.Factor(0), 36);
    EXPECT_EQ(cyber36.SetSpeed(0), 6300);
    EXPECT_EQ(cyber36.ReportedSpeed(0), 6336);
    EXPECT_EQ(cyber36.Factor(6), 4);
    EXPECT_EQ(cyber36.SetSpeed(6), 704);

    const TSpeedZoneInfo cyber40 = BuiltIn(25, "130M");
    ASSERT_EQ(cyber40.Count(), 8);
    EXPECT_EQ(cyber40.Factor(6), 16);
    EXPECT_EQ(cyber40.SetSpeed(6), 875);
    EXPECT_EQ(cyber40.ReportedSpeed(6), 2816);

    const TSpeedZoneInfo artec = BuiltIn(8, "");
    ASSERT_EQ(artec.Count(), 24);
    for (int step = 0; step < 24; ++step) {
        EXPECT_EQ(artec.Factor(step), 24 - step);
        EXPECT_EQ(artec.SetSpeed(step), 176 * (24 - step));
        EXPECT_EQ(artec.ReportedSpeed(step), 176 * (24 - step));
    }

    const TSpeedZoneInfo btc = BuiltIn(13, "C2.4");
    ASSERT_EQ(btc.Count(), 14);
    EXPECT_EQ(btc.Factor(0), 26);
    EXPECT_EQ(btc.Factor(12), 2);
    EXPECT_EQ(btc.Factor(13), 1);

    // NEC drives report less than they run.
    const TSpeedZoneInfo nec = BuiltIn(65, "4.73");
    EXPECT_EQ(nec.SetSpeed(0), 7056);
    EXPECT_EQ(nec.ReportedSpeed(0), 2999);
}

TEST(SpeedTables, ContinuedRowsBeginWithTheirOwnTopSteps)
{
    const TSpeedZoneInfo cyber48 = BuiltIn(27, "140M");
    ASSERT_EQ(cyber48.Count(), 10);
    EXPECT_EQ(cyber48.Factor(0), 50);
    EXPECT_EQ(cyber48.SetSpeed(0), 7875);
    EXPECT_EQ(cyber48.ReportedSpeed(0), 8800);
    EXPECT_EQ(cyber48.Factor(1), 44);
    EXPECT_EQ(cyber48.SetSpeed(1), 7175);
    EXPECT_EQ(cyber48.Factor(2), 40);
    EXPECT_EQ(cyber48.SetSpeed(2), 6475);

    const TSpeedZoneInfo cyber36 = BuiltIn(22, "230C");
    ASSERT_EQ(cyber36.Count(), 11);
    EXPECT_EQ(cyber36.Factor(0), 36);
    EXPECT_EQ(cyber36.Factor(1), 32);
    EXPECT_EQ(cyber36.SetSpeed(1), 5600);
}

TEST(SpeedTables, SharedRowsReferToOneText)
{
    EXPECT_EQ(Row(18).parts[0], Row(13).parts[0]);
    EXPECT_EQ(Row(53).parts[0], Row(13).parts[0]);
    EXPECT_EQ(Row(156).parts[0], Row(34).parts[0]);
    EXPECT_EQ(Row(164).parts[0], Row(161).parts[0]);
    EXPECT_EQ(Row(27).parts[2], Row(25).parts[0]);
    EXPECT_EQ(Row(27).parts[1], Row(26).parts[0]);
}

TEST(SpeedTables, RevisionPrefixesAreCaseSensitive)
{
    std::string text;
    EXPECT_TRUE(FindBuiltInSpeedTable(59, "m02 ", text));
    EXPECT_TRUE(FindBuiltInSpeedTable(59, "m02 x", text));
    EXPECT_FALSE(FindBuiltInSpeedTable(59, "M02 ", text));
    EXPECT_FALSE(FindBuiltInSpeedTable(59, "m02", text));
    EXPECT_TRUE(FindBuiltInSpeedTable(44, "RL2A", text));
    EXPECT_TRUE(FindBuiltInSpeedTable(34, "1.00", text));
    EXPECT_FALSE(FindBuiltInSpeedTable(34, "1.01", text));
    EXPECT_TRUE(FindBuiltInSpeedTable(20, "", text));
    EXPECT_FALSE(FindBuiltInSpeedTable(0, "1.00", text));
    EXPECT_FALSE(FindBuiltInSpeedTable(16, "1.00", text));
    EXPECT_FALSE(FindBuiltInSpeedTable(9, "2.1h", text));
    EXPECT_TRUE(FindBuiltInSpeedTable(9, "1.20", text));
}
