#include <gtest/gtest.h>

#include "drive/DriveTypes.h"
#include "drive/SpeedCodes.h"

TEST(SpeedCodes, PlextorRulesByModel)
{
    EXPECT_EQ(SpeedCode(FamilyPlextor, 95, 20), 4);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 95, 24), 5);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 95, 40), 6);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 96, 20), 5);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 96, 32), 6);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 94, 19), 5);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 94, 20), 6);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 94, 18), 4);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 93, 12), 5);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 93, 11), 4);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 91, 6), 3);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 90, 6), 2);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 90, 1), 0);
    EXPECT_EQ(SpeedCode(FamilyPlextor, 90, 3), 1);
}

TEST(SpeedCodes, VendorTablesTakeTheFirstThresholdReached)
{
    const struct {
        int family, model, factor, code;
    } cases[] = {
        {FamilyCdda12, 39, 1, 0},           {FamilyCdda12, 39, 3, 1},            {FamilyCdda12, 39, 4, 2},
        {FamilyCdda12, 106, 1, 0},          {FamilyCdda12, 106, 3, 2},           {FamilyCdda12, 106, 4, 3},
        {FamilyCdda12, 106, 200, 3},        {FamilyTeacScsi, 113, 3, 0},         {FamilyTeacScsi, 114, 4, 7},
        {FamilyTeacScsi, 113, 31, 15},      {FamilyTeacScsi, 114, 32, 255},      {FamilyTeacScsi, 127, 11, 4},
        {FamilyTeacScsi, 127, 12, 6},       {FamilyTeacScsi, 111, 5, 1},         {FamilyTeacScsi, 111, 6, 255},
        {FamilyToshiba, 153, 39, 2},        {FamilyToshiba, 153, 40, 1},         {FamilyToshiba, 152, 8, 2},
        {FamilyToshiba, 151, 3, 0},         {FamilyToshiba, 142, 6, 1},          {FamilyPhilipsCdd2600, 70, 3, 2},
        {FamilyPhilipsCdd2000, 0, 1, 1},    {FamilyPhilipsCdd2000, 71, 5, 4},    {FamilyPhilipsCdd2600, 70, 255, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpeedCode(c.family, c.model, c.factor), c.code) << c.family << "/" << c.model << " at " << c.factor;
    }
}

TEST(SpeedCodes, NoCodeWhereThereIsNoTable)
{
    EXPECT_EQ(SpeedCode(FamilyCdda12, 69, 4), -1);
    EXPECT_EQ(SpeedCode(FamilyTeacScsi, 112, 4), -1);
    EXPECT_EQ(SpeedCode(FamilyToshiba, 140, 4), -1);
    EXPECT_EQ(SpeedCode(FamilyMmc, 8, 4), -1);
    EXPECT_EQ(SpeedCode(FamilyMatshita, 49, 4), -1);
    EXPECT_EQ(SpeedCode(FamilyNec, 0, 4), -1);
    EXPECT_EQ(SpeedCode(FamilyUnknown, 0, 4), -1);
}

TEST(SpeedCodes, MaximumFactorsKnownByModel)
{
    EXPECT_EQ(TableMaxSpeedFactor(FamilyCdda12, 106), 4);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyTeacScsi, 114), 32);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyTeacScsi, 112), 16);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyPlextor, 96), 42);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyToshiba, 142), 6);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyPhilipsCdd2000, 33), 4);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyPhilipsCdd2600, 70), 6);
    // Unknown models, and the families whose maximum comes from the drive.
    EXPECT_EQ(TableMaxSpeedFactor(FamilyCdda12, 107), -1);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyToshiba, 148), -1);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyMmc, 8), -1);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyMatshita, 49), -1);
    EXPECT_EQ(TableMaxSpeedFactor(FamilyUnknown, 0), -1);
}
