#include <gtest/gtest.h>

#include <algorithm>

#include "drive/DriveModels.h"
#include "drive/DriveTypes.h"

TEST(DriveTypes, SpeedUnitsUseTheFixedConversions)
{
    EXPECT_EQ(FactorToKBps(1), 264);
    EXPECT_EQ(FactorToKBps(4), 795);
    EXPECT_EQ(FactorToKBps(8), 1503);
    EXPECT_EQ(FactorToKBps(32), 5751);
    EXPECT_EQ(FactorToKBps(-1), -1);
    EXPECT_EQ(KBpsToFactor(705), 4);
    EXPECT_EQ(KBpsToFactor(704), 4);
    EXPECT_EQ(KBpsToFactor(703), 3);
    EXPECT_EQ(KBpsToFactor(-1), -1);
}

TEST(DriveTypes, FamilyNamesAndOutOfRangeValues)
{
    const char* expected[] = {"UNKNOWN", "CDDA12", "TEACSCSI", "PLEXTOR", "MMC", "TOSHIBA",
                              "PHILIPS_CDD2000", "PHILIPS_CDD2600", "MATSHITA", "NEC"};
    for (int family = 0; family <= 9; ++family) EXPECT_EQ(FamilyName(family), expected[family]);
    EXPECT_EQ(FamilyName(10), "UNKNOWN");
    EXPECT_EQ(FamilyName(255), "UNKNOWN");
    EXPECT_EQ(FamilyName(-1), "UNKNOWN");
}

TEST(DriveModels, CodesWithoutDisplayNameFollowTheFamily)
{
    const int unnamed[] = {0, 28, 76, 116, 144};
    for (int model = 0; model < kModelCount; ++model) {
        const bool isUnnamed = std::find(std::begin(unnamed), std::end(unnamed), model) != std::end(unnamed);
        const std::string name = ModelName(model, FamilyMmc);
        EXPECT_EQ(name == "GENERIC", isUnnamed) << model;
        EXPECT_EQ(ModelName(model, FamilyUnknown), isUnnamed ? "UNKNOWN" : name) << model;
    }
    EXPECT_EQ(ModelName(28, FamilyNec), "GENERIC");
    EXPECT_EQ(ModelName(116, 10), "UNKNOWN");
    EXPECT_EQ(ModelName(165, FamilyMmc), "GENERIC");
    EXPECT_EQ(ModelName(-1, FamilyUnknown), "UNKNOWN");
}

TEST(DriveModels, SampleDisplayNamesAndSharedNames)
{
    EXPECT_EQ(ModelName(1, FamilyMmc), "Acer CD-910");
    EXPECT_EQ(ModelName(39, FamilyCdda12), "JVC XR W2010");
    EXPECT_EQ(ModelName(66, FamilyMmc), "NEC CDR-3001A");
    EXPECT_EQ(ModelName(156, FamilyMmc), "Traxdata CD-RW2260 (Philips-Derivat)");
    EXPECT_EQ(ModelName(164, FamilyMmc), "Yamaha CDR-400");
    for (int model = 41; model <= 45; ++model) EXPECT_EQ(ModelName(model, FamilyMmc), "LiteOn");
    for (int model : {140, 141, 143, 145, 150}) EXPECT_EQ(ModelName(model, FamilyToshiba), "Toshiba XM-xxxxTA");
    EXPECT_EQ(ModelName(142, FamilyToshiba), "Toshiba XM-3701B");
    EXPECT_EQ(ModelName(112, FamilyTeacScsi), ModelName(127, FamilyTeacScsi));
    EXPECT_EQ(ModelName(46, FamilyMatshita), ModelName(49, FamilyMatshita));
}
