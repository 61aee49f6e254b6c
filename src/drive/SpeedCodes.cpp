#include "drive/SpeedCodes.h"

#include "drive/DriveModels.h"
#include "drive/DriveTypes.h"

namespace {

constexpr int kAllModels = -1;

struct CodeRow {
    int family;
    int model;
    int minFactor;
    int code;
};

// For each family and model the first row whose minimum the factor reaches gives the code.
const CodeRow kSpeedCodes[] = {
    {FamilyCdda12,         39,         4,  2},
    {FamilyCdda12,         39,         2,  1},
    {FamilyCdda12,         39,         0,  0},
    {FamilyCdda12,         106,        4,  3},
    {FamilyCdda12,         106,        3,  2},
    {FamilyCdda12,         106,        2,  1},
    {FamilyCdda12,         106,        0,  0},
    {FamilyTeacScsi,       113,        32, 255},
    {FamilyTeacScsi,       113,        16, 15},
    {FamilyTeacScsi,       113,        4,  7},
    {FamilyTeacScsi,       113,        0,  0},
    {FamilyTeacScsi,       114,        32, 255},
    {FamilyTeacScsi,       114,        16, 15},
    {FamilyTeacScsi,       114,        4,  7},
    {FamilyTeacScsi,       114,        0,  0},
    {FamilyTeacScsi,       127,        12, 6},
    {FamilyTeacScsi,       127,        8,  4},
    {FamilyTeacScsi,       127,        4,  2},
    {FamilyTeacScsi,       127,        2,  1},
    {FamilyTeacScsi,       127,        0,  0},
    {FamilyTeacScsi,       111,        6,  255},
    {FamilyTeacScsi,       111,        2,  1},
    {FamilyTeacScsi,       111,        0,  0},
    {FamilyToshiba,        153,        40, 1},
    {FamilyToshiba,        153,        14, 2},
    {FamilyToshiba,        153,        0,  0},
    {FamilyToshiba,        152,        32, 1},
    {FamilyToshiba,        152,        6,  2},
    {FamilyToshiba,        152,        0,  0},
    {FamilyToshiba,        151,        12, 1},
    {FamilyToshiba,        151,        4,  2},
    {FamilyToshiba,        151,        0,  0},
    {FamilyToshiba,        142,        6,  1},
    {FamilyToshiba,        142,        2,  2},
    {FamilyToshiba,        142,        0,  0},
    {FamilyPhilipsCdd2000, kAllModels, 6,  6},
    {FamilyPhilipsCdd2000, kAllModels, 4,  4},
    {FamilyPhilipsCdd2000, kAllModels, 2,  2},
    {FamilyPhilipsCdd2000, kAllModels, 0,  1},
    {FamilyPhilipsCdd2600, kAllModels, 6,  6},
    {FamilyPhilipsCdd2600, kAllModels, 4,  4},
    {FamilyPhilipsCdd2600, kAllModels, 2,  2},
    {FamilyPhilipsCdd2600, kAllModels, 0,  1},
};

// Plextor: every row that holds replaces the code of the rows before it.
const CodeRow kPlextorCodes[] = {
    {FamilyPlextor, kAllModels, 0,  0},
    {FamilyPlextor, kAllModels, 2,  1},
    {FamilyPlextor, kAllModels, 4,  2},
    {FamilyPlextor, ModelPx6x,  6,  3},
    {FamilyPlextor, kAllModels, 8,  4},
    {FamilyPlextor, ModelPx12,  12, 5},
    {FamilyPlextor, ModelPx20,  19, 5},
    {FamilyPlextor, ModelPx20,  20, 6},
    {FamilyPlextor, ModelPx40,  20, 5},
    {FamilyPlextor, ModelPx32,  22, 5},
    {FamilyPlextor, kAllModels, 32, 6},
};

struct MaxRow {
    int family;
    int model;
    int maxFactor;
};

const MaxRow kMaxSpeedFactors[] = {
    {FamilyCdda12,         39,         4},
    {FamilyCdda12,         106,        4},
    {FamilyTeacScsi,       113,        32},
    {FamilyTeacScsi,       114,        32},
    {FamilyTeacScsi,       112,        16},
    {FamilyTeacScsi,       127,        12},
    {FamilyTeacScsi,       111,        6},
    {FamilyPlextor,        ModelPx4x,  4},
    {FamilyPlextor,        ModelPx6x,  6},
    {FamilyPlextor,        ModelPx8x,  8},
    {FamilyPlextor,        ModelPx12,  12},
    {FamilyPlextor,        ModelPx20,  20},
    {FamilyPlextor,        ModelPx32,  32},
    {FamilyPlextor,        ModelPx40,  42},
    {FamilyToshiba,        153,        40},
    {FamilyToshiba,        152,        32},
    {FamilyToshiba,        151,        12},
    {FamilyToshiba,        142,        6},
    {FamilyPhilipsCdd2000, kAllModels, 4},
    {FamilyPhilipsCdd2600, kAllModels, 6},
};

bool Applies(int rowFamily, int rowModel, int family, int model)
{
    return rowFamily == family && (rowModel == kAllModels || rowModel == model);
}

} // namespace

int SpeedCode(int family, int model, int factor)
{
    if (family == FamilyPlextor) {
        int code = -1;
        for (const CodeRow& row : kPlextorCodes) {
            if (Applies(row.family, row.model, family, model) && factor >= row.minFactor) code = row.code;
        }
        return code;
    }
    for (const CodeRow& row : kSpeedCodes) {
        if (Applies(row.family, row.model, family, model) && factor >= row.minFactor) return row.code;
    }
    return -1;
}

int TableMaxSpeedFactor(int family, int model)
{
    for (const MaxRow& row : kMaxSpeedFactors) {
        if (Applies(row.family, row.model, family, model)) return row.maxFactor;
    }
    return -1;
}
