#pragma once
// Known-model codes assigned by the drive database and their display names.
#include <cstdint>
#include <string>

using DriveModel = uint8_t;

constexpr int kModelCount = 165;

// Models that the drive logic treats specially.
enum : DriveModel {
    ModelPx4x = 90,
    ModelPx6x = 91,
    ModelPx8x = 92,
    ModelPx12 = 93,
    ModelPx20 = 94,
    ModelPx32 = 95,
    ModelPx40 = 96,
    ModelTeacCd532S30A = 114,
    ModelTeacCd524EA30A = 119,
    ModelTeacCd532E30A = 121,
    ModelTeacCd532EA30A = 123,
    ModelTeacCd532EB30B = 125,
    ModelWearnes = 158,
};

// The model's display name; a code without one (0 among them) is "GENERIC" for a family of
// 1 to 9 and "UNKNOWN" otherwise.
std::string ModelName(int model, int family);
