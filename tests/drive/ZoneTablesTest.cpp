#include <gtest/gtest.h>

#include "drive/DriveTypes.h"
#include "drive/ZoneTables.h"

namespace {

void ExpectStep(const ZoneStep& step, int factor, const char* data, const char* dae)
{
    EXPECT_EQ(step.factor, factor);
    EXPECT_EQ(step.dataText, data);
    EXPECT_EQ(step.daeText, dae);
}

} // namespace

TEST(ZoneTables, MmcRowsNormaliseTheFactor)
{
    ExpectStep(LookupZone(FamilyMmc, 8, 2112 / 176), 12, "7x-17x CAV", "8x CLV");
    ExpectStep(LookupZone(FamilyMmc, 8, 1936 / 176), 12, "7x-17x CAV", "8x CLV");
    ExpectStep(LookupZone(FamilyMmc, 8, 22), 22, "16x-37x CAV", "8x CLV");
    ExpectStep(LookupZone(FamilyMmc, 10, 13), 15, "9,9x-14,3x PCAV", "");
    ExpectStep(LookupZone(FamilyMmc, 10, 35), 36, "16,1x-37,4x CAV", "");
    ExpectStep(LookupZone(FamilyMmc, 9, 3), 5, "3x-8x CAV", "3,3x-7,7x CAV");
    ExpectStep(LookupZone(FamilyMmc, 9, 50), 50, "23x-50x PCAV", "10,0x-23,1x CAV");
    ExpectStep(LookupZone(FamilyMmc, 41, 24), 24, "11x-22x DCAV", "");
    ExpectStep(LookupZone(FamilyMmc, 139, 16), 16, "7x-16x CAV", "5x-11x CAV");
    ExpectStep(LookupZone(FamilyMmc, 139, 10), 10, "4x-10x CAV", "1x CLV");
    ExpectStep(LookupZone(FamilyMmc, 66, 32), 32, "14x-32x CAV", "4x-10x CAV");
    ExpectStep(LookupZone(FamilyMmc, 15, 32), 32, "32x", "");
}

TEST(ZoneTables, MmcStepsWithoutARowKeepTheirFactor)
{
    ExpectStep(LookupZone(FamilyMmc, 8, 4400 / 176), 25, "", "8x CLV");
    ExpectStep(LookupZone(FamilyMmc, 66, 8), 8, "", "4x-10x CAV");
    ExpectStep(LookupZone(FamilyMmc, 0, 7040 / 176), 40, "", "");
    ExpectStep(LookupZone(FamilyMmc, 139, 12), 12, "", "");
    ExpectStep(LookupZone(FamilyMmc, 10, 28), 28, "", "");
    ExpectStep(LookupZone(FamilyNec, 0, 24), 24, "", "");
    ExpectStep(LookupZone(FamilyMmc, 8, -1), -1, "", "");
}

TEST(ZoneTables, PlextorCodesAndTheMaximumStep)
{
    ExpectStep(LookupZone(FamilyPlextor, 96, 6), 42, "18x-42x CAV", "16x-24x PCAV");
    ExpectStep(LookupZone(FamilyPlextor, 96, -1), 42, "18x-42x CAV", "16x-24x PCAV");
    ExpectStep(LookupZone(FamilyPlextor, 95, 9), 32, "14x-32x CAV", "14,5x-23,5x PCAV");
    ExpectStep(LookupZone(FamilyPlextor, 94, 6), 20, "12x-20x PCAV", "12x-20x PCAV");
    ExpectStep(LookupZone(FamilyPlextor, 94, 5), 19, "8x-20x CAV", "8x-20x CAV");
    ExpectStep(LookupZone(FamilyPlextor, 90, 4), 4, "4x CLV", "4x CLV");
    ExpectStep(LookupZone(FamilyPlextor, 91, 3), 6, "6x CLV", "6x CLV");
    ExpectStep(LookupZone(FamilyPlextor, 92, 3), 8, "8x CLV", "8x CLV");
    ExpectStep(LookupZone(FamilyPlextor, 93, 0), 1, "1x CLV", "1x CLV");
}

TEST(ZoneTables, VendorCodes)
{
    ExpectStep(LookupZone(FamilyCdda12, 39, 7), 4, "4x CLV", "2x CLV");
    ExpectStep(LookupZone(FamilyCdda12, 39, -1), 4, "4x CLV", "2x CLV");
    ExpectStep(LookupZone(FamilyCdda12, 106, 2), 3, "", "");
    ExpectStep(LookupZone(FamilyCdda12, 106, -1), 4, "", "");
    ExpectStep(LookupZone(FamilyCdda12, 69, 0), -1, "", "");
    ExpectStep(LookupZone(FamilyTeacScsi, 114, 15), 16, "11x-16x PCAV", "");
    ExpectStep(LookupZone(FamilyTeacScsi, 113, 255), 32, "14x-32x CAV", "");
    ExpectStep(LookupZone(FamilyTeacScsi, 113, -1), -1, "", "");
    ExpectStep(LookupZone(FamilyTeacScsi, 127, -1), 12, "12x CLV", "");
    ExpectStep(LookupZone(FamilyTeacScsi, 111, 9), 6, "6x CLV", "");
    ExpectStep(LookupZone(FamilyToshiba, 142, 1), 6, "6,7x CLV", "");
    ExpectStep(LookupZone(FamilyToshiba, 153, 2), 14, "6x-14x CAV", "6,6x-15,4x CAV");
    ExpectStep(LookupZone(FamilyToshiba, 153, 3), -1, "", "");
    ExpectStep(LookupZone(FamilyToshiba, 140, 1), -1, "", "");
    ExpectStep(LookupZone(FamilyPhilipsCdd2000, 71, 0), 4, "4x CLV", "4x CLV");
    ExpectStep(LookupZone(FamilyPhilipsCdd2600, 70, 6), 6, "4x-6,5x PCAV", "4x-6,5x PCAV");
    ExpectStep(LookupZone(FamilyPhilipsCdd2600, 70, 3), -1, "", "");
    ExpectStep(LookupZone(FamilyPhilipsCdd2600, 70, -1), -1, "", "");
    ExpectStep(LookupZone(FamilyMatshita, 46, 6), 6, "", "");
    ExpectStep(LookupZone(FamilyMatshita, 49, 8), 8, "8x CLV", "8x CLV");
    ExpectStep(LookupZone(FamilyMatshita, 49, 4), 4, "", "");
    ExpectStep(LookupZone(FamilyMatshita, 49, -1), -1, "", "");
    ExpectStep(LookupZone(FamilyUnknown, 0, 1), -1, "", "");
}

TEST(ZoneTables, WhereEachFamilyKeepsItsCode)
{
    EXPECT_EQ(ZoneCodeLocation(FamilyPlextor).page, 0x31);
    EXPECT_EQ(ZoneCodeLocation(FamilyToshiba).page, 0x20);
    EXPECT_EQ(ZoneCodeLocation(FamilyToshiba).mask, 0x0F);
    EXPECT_EQ(ZoneCodeLocation(FamilyPhilipsCdd2000).byte, 2);
    EXPECT_EQ(ZoneCodeLocation(FamilyPhilipsCdd2600).byte, 4);
    EXPECT_EQ(ZoneCodeLocation(FamilyMatshita).page, 0x20);
    EXPECT_EQ(ZoneCodeLocation(FamilyMmc).page, 0);
    EXPECT_EQ(ZoneCodeLocation(FamilyNec).page, 0);
    EXPECT_EQ(ZoneCodeLocation(FamilyUnknown).page, 0);
}
