#include "drive/ZoneTables.h"

#include <climits>

#include "drive/DriveModels.h"
#include "drive/DriveTypes.h"
#include "drive/SpeedCodes.h"
#include "transport/ScsiCodes.h"

namespace {

constexpr int kAllModels = -1;
constexpr int kFailedRead = -1;
constexpr int kAnyValue = INT_MAX; // from kFailedRead: any value, a failed read included
constexpr int kSameValue = -2;     // the speed value itself is the factor
constexpr int kModelMax = -3;      // the model's maximum speed factor

struct ZoneRow {
    int family;
    int model;
    int low; // speed value range, inclusive
    int high;
    int factor;
    const char* data;
    const char* dae; // empty: the model's own DAE text, or none
};

// The first row of the family and model whose range holds the speed value applies.
//
// Of families 4 and 9 only these models carry rows so far. Still missing: models 11 to 14, 17,
// 18, 21 to 23, 25, 27, 32, 34 to 36, 42 to 45, 47, 48, 50, 53, 56, 59 to 63, 65, 67, 68, 72,
// 73, 86, 97 to 101, 103, 104, 108 to 110, 115, 116, 118 to 126, 129, 130, 132, 134 to 138,
// 154 to 157, 159, 160, 162 to 164; model 10 from 24x to 33x; the data texts of model 9 from 8x
// to 49x and above 50x.
const ZoneRow kZoneRows[] = {
    {FamilyMmc,            8,          1,           1,         1,          "1x CLV",          ""},
    {FamilyMmc,            8,          2,           2,         2,          "2x CLV",          ""},
    {FamilyMmc,            8,          3,           4,         4,          "4x CLV",          ""},
    {FamilyMmc,            8,          5,           8,         8,          "8x CLV",          ""},
    {FamilyMmc,            8,          9,           12,        12,         "7x-17x CAV",      ""},
    {FamilyMmc,            8,          13,          16,        16,         "10x-23x CAV",     ""},
    {FamilyMmc,            8,          17,          18,        18,         "12x-28x CAV",     ""},
    {FamilyMmc,            8,          19,          20,        20,         "15x-34x CAV",     ""},
    {FamilyMmc,            8,          21,          23,        22,         "16x-37x CAV",     ""},
    {FamilyMmc,            8,          24,          24,        24,         "18x-41x CAV",     ""},
    {FamilyMmc,            10,         1,           5,         5,          "4x CLV",          ""},
    {FamilyMmc,            10,         6,           7,         7,          "5,5x-12,8x CAV",  ""},
    {FamilyMmc,            10,         8,           11,        11,         "6,7x-15,6x CAV",  ""},
    {FamilyMmc,            10,         12,          15,        15,         "9,9x-14,3x PCAV", ""},
    {FamilyMmc,            10,         16,          17,        17,         "9,9x-16,3x PCAV", ""},
    {FamilyMmc,            10,         18,          19,        19,         "9,9x-18,3x PCAV", ""},
    {FamilyMmc,            10,         20,          21,        21,         "9,9x-20,4x PCAV", ""},
    {FamilyMmc,            10,         22,          23,        23,         "11x-25,6x CAV",   ""},
    {FamilyMmc,            10,         34,          36,        36,         "16,1x-37,4x CAV", ""},
    {FamilyMmc,            9,          1,           5,         5,          "3x-8x CAV",       "3,3x-7,7x CAV"},
    {FamilyMmc,            9,          6,           7,         7,          "5x-11x CAV",      "4,7x-10,8x CAV"},
    {FamilyMmc,            9,          20,          49,        kSameValue, "",                "10,0x-23,1x CAV"},
    {FamilyMmc,            9,          50,          50,        50,         "23x-50x PCAV",    "10,0x-23,1x CAV"},
    {FamilyMmc,            9,          51,          kAnyValue, kSameValue, "",                "10,0x-23,1x CAV"},
    {FamilyMmc,            41,         24,          24,        24,         "11x-22x DCAV",    ""},
    {FamilyMmc,            139,        10,          10,        10,         "4x-10x CAV",      "1x CLV"},
    {FamilyMmc,            139,        16,          16,        16,         "7x-16x CAV",      "5x-11x CAV"},
    {FamilyMmc,            139,        20,          20,        20,         "9x-20x CAV",      "5x-11x CAV"},
    {FamilyMmc,            139,        24,          24,        24,         "11x-24x CAV",     "5x-11x CAV"},
    {FamilyMmc,            66,         4,           4,         4,          "4x-10x CAV",      ""},
    {FamilyMmc,            66,         20,          20,        20,         "8x-20x CAV",      ""},
    {FamilyMmc,            66,         32,          32,        32,         "14x-32x CAV",     ""},
    {FamilyMmc,            66,         40,          40,        40,         "17x-40x CAV",     ""},
    {FamilyMmc,            15,         1,           1,         1,          "1x CLV",          ""},
    {FamilyMmc,            15,         2,           2,         2,          "2x CLV",          ""},
    {FamilyMmc,            15,         8,           8,         8,          "3,5x-8x CAV",     ""},
    {FamilyMmc,            15,         32,          32,        32,         "32x",             ""},
    {FamilyMmc,            kAllModels, 0,           kAnyValue, kSameValue, "",                ""},
    {FamilyCdda12,         39,         0,           0,         1,          "1x CLV",          "1x CLV"},
    {FamilyCdda12,         39,         1,           1,         2,          "2x CLV",          "2x CLV"},
    {FamilyCdda12,         39,         kFailedRead, kAnyValue, 4,          "4x CLV",          "2x CLV"},
    {FamilyCdda12,         106,        0,           0,         1,          "",                ""},
    {FamilyCdda12,         106,        1,           1,         2,          "",                ""},
    {FamilyCdda12,         106,        2,           2,         3,          "",                ""},
    {FamilyCdda12,         106,        kFailedRead, kAnyValue, 4,          "",                ""},
    {FamilyTeacScsi,       113,        0,           7,         4,          "4x CLV",          ""},
    {FamilyTeacScsi,       113,        8,           15,        16,         "11x-16x PCAV",    ""},
    {FamilyTeacScsi,       113,        16,          255,       32,         "14x-32x CAV",     ""},
    {FamilyTeacScsi,       114,        0,           7,         4,          "4x CLV",          ""},
    {FamilyTeacScsi,       114,        8,           15,        16,         "11x-16x PCAV",    ""},
    {FamilyTeacScsi,       114,        16,          255,       32,         "14x-32x CAV",     ""},
    {FamilyTeacScsi,       127,        0,           0,         1,          "1x CLV",          ""},
    {FamilyTeacScsi,       127,        1,           1,         2,          "2x CLV",          ""},
    {FamilyTeacScsi,       127,        2,           3,         4,          "4x CLV",          ""},
    {FamilyTeacScsi,       127,        4,           5,         8,          "8x CLV",          ""},
    {FamilyTeacScsi,       127,        kFailedRead, kAnyValue, 12,         "12x CLV",         ""},
    {FamilyTeacScsi,       111,        0,           0,         1,          "1x CLV",          ""},
    {FamilyTeacScsi,       111,        1,           1,         2,          "2x CLV",          ""},
    {FamilyTeacScsi,       111,        kFailedRead, kAnyValue, 6,          "6x CLV",          ""},
    {FamilyPlextor,        kAllModels, 0,           0,         1,          "1x CLV",          ""},
    {FamilyPlextor,        kAllModels, 1,           1,         2,          "2x CLV",          ""},
    {FamilyPlextor,        kAllModels, 2,           2,         4,          "4x CLV",          ""},
    {FamilyPlextor,        ModelPx4x,  3,           4,         4,          "4x CLV",          ""},
    {FamilyPlextor,        ModelPx6x,  3,           4,         6,          "6x CLV",          ""},
    {FamilyPlextor,        kAllModels, 3,           4,         8,          "8x CLV",          ""},
    {FamilyPlextor,        ModelPx4x,  5,           5,         4,          "4x CLV",          ""},
    {FamilyPlextor,        ModelPx6x,  5,           5,         6,          "6x CLV",          ""},
    {FamilyPlextor,        ModelPx8x,  5,           5,         8,          "8x CLV",          ""},
    {FamilyPlextor,        ModelPx12,  5,           5,         12,         "12x CLV",         ""},
    {FamilyPlextor,        ModelPx20,  5,           5,         19,         "8x-20x CAV",      ""},
    {FamilyPlextor,        ModelPx32,  5,           5,         22,         "10x-22x CAV",     ""},
    {FamilyPlextor,        ModelPx40,  5,           5,         20,         "11x-20x PCAV",    ""},
    {FamilyPlextor,        ModelPx4x,  kFailedRead, kAnyValue, kModelMax,  "4x CLV",          ""},
    {FamilyPlextor,        ModelPx6x,  kFailedRead, kAnyValue, kModelMax,  "6x CLV",          ""},
    {FamilyPlextor,        ModelPx8x,  kFailedRead, kAnyValue, kModelMax,  "8x CLV",          ""},
    {FamilyPlextor,        ModelPx12,  kFailedRead, kAnyValue, kModelMax,  "12x CLV",         ""},
    {FamilyPlextor,        ModelPx20,  kFailedRead, kAnyValue, kModelMax,  "12x-20x PCAV",    ""},
    {FamilyPlextor,        ModelPx32,  kFailedRead, kAnyValue, kModelMax,  "14x-32x CAV",     "14,5x-23,5x PCAV"},
    {FamilyPlextor,        ModelPx40,  kFailedRead, kAnyValue, kModelMax,  "18x-42x CAV",     "16x-24x PCAV"},
    {FamilyToshiba,        142,        0,           0,         1,          "1x CLV",          ""},
    {FamilyToshiba,        142,        1,           1,         6,          "6,7x CLV",        ""},
    {FamilyToshiba,        142,        2,           2,         2,          "2x CLV",          ""},
    {FamilyToshiba,        151,        0,           0,         1,          "1x CLV",          ""},
    {FamilyToshiba,        151,        1,           1,         12,         "12x CLV",         ""},
    {FamilyToshiba,        151,        2,           2,         4,          "4x CLV",          ""},
    {FamilyToshiba,        152,        0,           0,         1,          "1x CLV",          ""},
    {FamilyToshiba,        152,        1,           1,         32,         "32x CAV",         ""},
    {FamilyToshiba,        152,        2,           2,         6,          "6x-10x PCAV",     ""},
    {FamilyToshiba,        153,        0,           0,         14,         "6x-14x CAV",      "6,6x-15,4x CAV"},
    {FamilyToshiba,        153,        2,           2,         14,         "6x-14x CAV",      "6,6x-15,4x CAV"},
    {FamilyToshiba,        153,        1,           1,         40,         "17x-40x CAV",     "6,6x-15,4x CAV"},
    {FamilyPhilipsCdd2000, kAllModels, 1,           1,         1,          "1x CLV",          ""},
    {FamilyPhilipsCdd2000, kAllModels, 2,           2,         2,          "2x CLV",          ""},
    {FamilyPhilipsCdd2000, kAllModels, 0,           0,         4,          "4x CLV",          ""},
    {FamilyPhilipsCdd2000, kAllModels, 4,           4,         4,          "4x CLV",          ""},
    {FamilyPhilipsCdd2600, kAllModels, 1,           1,         1,          "1x CLV",          ""},
    {FamilyPhilipsCdd2600, kAllModels, 2,           2,         2,          "2x CLV",          ""},
    {FamilyPhilipsCdd2600, kAllModels, 4,           4,         4,          "4x CLV",          ""},
    {FamilyPhilipsCdd2600, kAllModels, 0,           0,         6,          "4x-6,5x PCAV",    ""},
    {FamilyPhilipsCdd2600, kAllModels, 6,           6,         6,          "4x-6,5x PCAV",    ""},
    {FamilyMatshita,       49,         1,           1,         1,          "1x CLV",          ""},
    {FamilyMatshita,       49,         2,           2,         2,          "2x CLV",          ""},
    {FamilyMatshita,       49,         8,           8,         8,          "8x CLV",          ""},
    {FamilyMatshita,       kAllModels, 0,           kAnyValue, kSameValue, "",                ""},
};

// Models whose audio extraction runs the same way at every step.
struct ModelDae {
    int family;
    int model;
    const char* dae;
};

const ModelDae kModelDae[] = {
    {FamilyMmc, 8,  "8x CLV"},
    {FamilyMmc, 66, "4x-10x CAV"},
};

struct CodeSourceRow {
    int family;
    ZoneCodeSource source;
};

const CodeSourceRow kCodeSources[] = {
    {FamilyCdda12,         {kPageVendorSpeed, 2, 0xFF}},
    {FamilyTeacScsi,       {kPageVendorSpeed, 2, 0xFF}},
    {FamilyPlextor,        {kPageVendorSpeed, 2, 0xFF}},
    {FamilyToshiba,        {kPageToshibaSpeed, 2, 0x0F}},
    {FamilyPhilipsCdd2000, {kPagePhilipsSpeed, 2, 0xFF}},
    {FamilyPhilipsCdd2600, {kPagePhilipsSpeed, 4, 0xFF}},
    {FamilyMatshita,       {kPageToshibaSpeed, 2, 0xFF}},
};

bool CopiesDataTextToDae(int family)
{
    return family == FamilyPlextor || family == FamilyPhilipsCdd2000 || family == FamilyPhilipsCdd2600 ||
           family == FamilyMatshita;
}

} // namespace

ZoneCodeSource ZoneCodeLocation(int family)
{
    for (const CodeSourceRow& row : kCodeSources) {
        if (row.family == family) return row.source;
    }
    return ZoneCodeSource{};
}

ZoneStep LookupZone(int family, int model, int speedValue)
{
    // NEC drives report their speed like MMC drives and share their rows.
    const int rowFamily = family == FamilyNec ? int(FamilyMmc) : family;
    ZoneStep step;
    // Set before the lookup, so it stays for a step that no row knows.
    for (const ModelDae& whole : kModelDae) {
        if (whole.family == rowFamily && whole.model == model) step.daeText = whole.dae;
    }
    for (const ZoneRow& row : kZoneRows) {
        if (row.family != rowFamily || (row.model != kAllModels && row.model != model)) continue;
        if (speedValue < row.low || speedValue > row.high) continue;
        if (row.factor == kSameValue) step.factor = speedValue;
        else if (row.factor == kModelMax) step.factor = TableMaxSpeedFactor(family, model);
        else step.factor = row.factor;
        step.dataText = row.data;
        if (row.dae[0] != '\0') step.daeText = row.dae;
        if (step.daeText.empty() && CopiesDataTextToDae(family)) step.daeText = step.dataText;
        return step;
    }
    return step;
}
