// Vendor speed codes and zone rows: the thresholds and fallbacks a drive-level test does not reach.
#include <gtest/gtest.h>

#include "drive/DriveTypes.h"
#include "drive/SpeedCodes.h"
#include "drive/ZoneTables.h"

TEST(SpeedCodes, FirstThresholdReachedAndNoCodeWithoutTable)
{
    const struct {
        int family, model, factor, code;
    } cases[] = {
        {FamilyPlextor, 94, 18, 4},      {FamilyPlextor, 94, 19, 5},      {FamilyPlextor, 94, 20, 6},
        {FamilyPlextor, 93, 11, 4},      {FamilyPlextor, 93, 12, 5},      {FamilyPlextor, 90, 1, 0},
        {FamilyPlextor, 90, 3, 1},       {FamilyCdda12, 106, 3, 2},       {FamilyCdda12, 106, 200, 3},
        {FamilyTeacScsi, 113, 31, 15},   {FamilyTeacScsi, 114, 32, 255},  {FamilyTeacScsi, 111, 6, 255},
        {FamilyToshiba, 153, 39, 2},     {FamilyToshiba, 153, 40, 1},     {FamilyPhilipsCdd2000, 71, 5, 4},
        {FamilyPhilipsCdd2600, 70, 255, 6}, {FamilyCdda12, 69, 4, -1},    {FamilyToshiba, 140, 4, -1},
        {FamilyMmc, 8, 4, -1},           {FamilyMatshita, 49, 4, -1},     {FamilyNec, 0, 4, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpeedCode(c.family, c.model, c.factor), c.code) << c.family << "/" << c.model << " at " << c.factor;
    }
    EXPECT_EQ(std::vector<int>({TableMaxSpeedFactor(FamilyTeacScsi, 114), TableMaxSpeedFactor(FamilyToshiba, 142),
                                TableMaxSpeedFactor(FamilyToshiba, 148), TableMaxSpeedFactor(FamilyMmc, 8)}),
              std::vector<int>({32, 6, -1, -1}));
}

TEST(ZoneTables, RowsNormaliseAndFallBack)
{
    const struct {
        int family, model, value, factor;
        const char* data;
        const char* dae;
    } cases[] = {
        {FamilyMmc, 10, 13, 15, "9,9x-14,3x PCAV", ""},
        {FamilyMmc, 9, 3, 5, "3x-8x CAV", "3,3x-7,7x CAV"},
        {FamilyMmc, 9, 19, 19, "", ""},
        {FamilyMmc, 9, 20, 20, "", "10,0x-23,1x CAV"},  // the DAE text of every step from 20x up
        {FamilyMmc, 9, 49, 49, "", "10,0x-23,1x CAV"},
        {FamilyMmc, 9, 50, 50, "23x-50x PCAV", "10,0x-23,1x CAV"},
        {FamilyMmc, 9, 52, 52, "", "10,0x-23,1x CAV"},
        {FamilyMmc, 139, 12, 12, "", ""},
        {FamilyMmc, 8, -1, -1, "", "8x CLV"},  // the whole model's DAE text stays
        {FamilyMmc, 66, -1, -1, "", "4x-10x CAV"},
        {FamilyPlextor, 94, 5, 19, "8x-20x CAV", "8x-20x CAV"},
        {FamilyPlextor, 93, 0, 1, "1x CLV", "1x CLV"},
        {FamilyCdda12, 39, -1, 4, "4x CLV", "2x CLV"},
        {FamilyCdda12, 69, 0, -1, "", ""},
        {FamilyTeacScsi, 113, -1, -1, "", ""},
        {FamilyTeacScsi, 127, -1, 12, "12x CLV", ""},
        {FamilyToshiba, 153, 2, 14, "6x-14x CAV", "6,6x-15,4x CAV"},
        {FamilyMatshita, 49, 4, 4, "", ""},
        {FamilyUnknown, 0, 1, -1, "", ""},
    };
    for (const auto& c : cases) {
        const ZoneStep step = LookupZone(c.family, c.model, c.value);
        EXPECT_EQ(step.factor, c.factor) << c.family << "/" << c.model << " at " << c.value;
        EXPECT_EQ(step.dataText, c.data) << c.family << "/" << c.model << " at " << c.value;
        EXPECT_EQ(step.daeText, c.dae) << c.family << "/" << c.model << " at " << c.value;
    }
}
