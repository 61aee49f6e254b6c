#include "emu/Rotation.h"

#include <algorithm>
#include <cmath>

namespace emu {

namespace {

constexpr double kFullDiscBlocks = 335475.0;
// Square millimetres of program area per block scanned at 1 mm/s.
constexpr double kAreaPerBlock =
    (kOuterRadiusMm * kOuterRadiusMm - kInnerRadiusMm * kInnerRadiusMm) / (kFullDiscBlocks * kNominalVelocity);

// The factor constant rotation gives at the inner edge.
double InnerFactor(const Rotation& rotation)
{
    if (rotation.kind == RotationKind::Cav)
        return std::sqrt(rotation.from * rotation.to * kInnerRadiusMm / kOuterRadiusMm);
    return rotation.from;
}

}  // namespace

double BlockRadius(uint32_t lba, double velocity)
{
    return std::sqrt(kInnerRadiusMm * kInnerRadiusMm + double(lba) * velocity * kAreaPerBlock);
}

double BlocksPerSecond(const Rotation& rotation, double radius, double velocity)
{
    // Constant rotation: the track passes at a speed that grows with the radius; a disc
    // scanned more slowly than the nominal velocity carries more blocks on it.
    const double cavFactor = InnerFactor(rotation) * radius / kInnerRadiusMm * kNominalVelocity / velocity;
    switch (rotation.kind) {
    case RotationKind::Clv: return kSingleSpeedBlocks * rotation.from;
    case RotationKind::Cav: return kSingleSpeedBlocks * cavFactor;
    case RotationKind::Pcav: return kSingleSpeedBlocks * std::min(cavFactor, rotation.to);
    case RotationKind::None: break;
    }
    return 0;
}

}  // namespace emu
