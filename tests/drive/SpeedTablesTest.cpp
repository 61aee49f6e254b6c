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

} // namespace

TEST(SpeedTables, EveryTextLoadsAlreadyInTableOrder)
{
    for (int i = 0; i < kBuiltInSpeedTableCount; ++i) {
        const BuiltInSpeedTable& row = kBuiltInSpeedTables[i];
        const std::string text = SpeedTableText(row);
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

TEST(SpeedTables, SampleAndContinuedRowsDecodeToTheirSteps)
{
    // NEC drives report less than they run.
    const TSpeedZoneInfo nec = BuiltIn(65, "4.73");
    EXPECT_EQ(nec.SetSpeed(0), 7056);
    EXPECT_EQ(nec.ReportedSpeed(0), 2999);
    // A row continued by other rows' texts begins with its own top steps.
    const TSpeedZoneInfo cyber48 = BuiltIn(27, "140M");
    ASSERT_EQ(cyber48.Count(), 10);
    EXPECT_EQ(cyber48.Factor(0), 50);
    EXPECT_EQ(cyber48.SetSpeed(1), 7175);
    EXPECT_EQ(cyber48.SetSpeed(2), 6475);
    EXPECT_EQ(cyber48.Factor(9), BuiltIn(25, "130M").Factor(7));
}

TEST(SpeedTables, RevisionPrefixesAreCaseSensitive)
{
    std::string text;
    EXPECT_TRUE(FindBuiltInSpeedTable(59, "m02 x", text));
    EXPECT_FALSE(FindBuiltInSpeedTable(59, "m02", text));
    EXPECT_FALSE(FindBuiltInSpeedTable(34, "1.01", text));
    EXPECT_TRUE(FindBuiltInSpeedTable(20, "", text));
    EXPECT_FALSE(FindBuiltInSpeedTable(9, "2.1h", text));
    EXPECT_TRUE(FindBuiltInSpeedTable(9, "1.20", text));
}
