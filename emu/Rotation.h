#pragma once
// How an emulated drive turns the disc at one speed step, and how fast it reads there.
//
// Disc geometry: the program area runs from radius 25 mm outwards with a fixed track pitch,
// so that 4473 seconds (335475 blocks) scanned at 1300 mm/s end at 58 mm; a disc scanned at
// another velocity packs its blocks more or less densely along the same spiral. A speed factor
// is a multiple of single speed, 75 blocks a second.
#include <cstdint>

namespace emu {

enum class RotationKind : uint8_t { None, Clv, Cav, Pcav };

struct Rotation {
    RotationKind kind = RotationKind::None;  // None: reads take no time
    // CLV: the factor everywhere (to is unused). CAV: the factors at the inner (25 mm) and outer
    // (58 mm) edge; constant rotation makes them 25 : 58, and a label that does not keep that
    // ratio turns at the speed between them (their geometric mean). PCAV: constant rotation
    // with factor `from` at the inner edge until the factor reaches `to`, then CLV at `to`.
    double from = 0;
    double to = 0;
};

constexpr double kInnerRadiusMm = 25.0;
constexpr double kOuterRadiusMm = 58.0;
constexpr double kNominalVelocity = 1300.0;  // mm/s; the velocity CAV and PCAV factors refer to
constexpr double kSingleSpeedBlocks = 75.0;  // blocks a second at 1x

// Radius in mm of block lba on a disc scanned at velocity mm/s.
double BlockRadius(uint32_t lba, double velocity);

// Blocks a second the drive reads at the radius of a disc scanned at velocity; 0 for None.
double BlocksPerSecond(const Rotation& rotation, double radius, double velocity);

}  // namespace emu
