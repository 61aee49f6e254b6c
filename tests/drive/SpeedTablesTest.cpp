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
    EXPECT_EQ(std::tuple(nec.SetSpeed(0), nec.ReportedSpeed(0)), std::tuple(7056, 2999));
    // A row continued by other rows' texts begins with its own top steps.
    const TSpeedZoneInfo cyber48 = BuiltIn(27, "140M");
    ASSERT_EQ(cyber48.Count(), 10);
    EXPECT_EQ(std::tuple(cyber48.Factor(0), cyber48.SetSpeed(1), cyber48.SetSpeed(2), cyber48.Factor(9)),
              std::tuple(50, 7175, 6475, BuiltIn(25, "130M").Factor(7)));
}

TEST(SpeedTables, RevisionPrefixesAreCaseSensitive)
{
    std::string text;
    const std::tuple<int, const char*, bool> cases[] = {{59, "m02 x", true}, {59, "m02", false}, {34, "1.01", false},
                                                        {20, "", true},     {9, "2.1h", false}, {9, "1.20", true}};
    for (const auto& [model, revision, found] : cases) EXPECT_EQ(FindBuiltInSpeedTable(model, revision, text), found) << model << revision;
}
