// How long an emulated drive takes to read: the current step's rotation at the blocks' radius,
// a seek when a read does not continue the last one, the spin-up after a start or a change of
// step, and retries at read errors. Natively the manager puts the time on the virtual clock;
// the DLL sleeps for it.
#include <algorithm>
#include <cmath>

#include "emu/CdromDrive.h"
#include "platform/Time.h"

namespace emu {

namespace {

constexpr uint32_t kBlocksPerSlice = 75;  // the rate is taken at the middle of each slice
constexpr double kRadialStrokeMm = kOuterRadiusMm - kInnerRadiusMm;
// The drive reads ahead into its buffer while the host is busy: of the time the host took before
// asking for the next blocks (or a sleep overshot), up to this much is not added to the drive's.
constexpr int32_t kReadAheadMs = 250;

}  // namespace

bool CdromDrive::timed() const
{
    const SpeedStep* step = speed_.currentStep();
    return step && step->rotation.kind != RotationKind::None;
}

void CdromDrive::selectStep(size_t step)
{
    // Nothing is read ahead while the disc changes its speed.
    if (step != speed_.current && spinning_) dueAt_ = readyAt_ = platform::TickCount() + speed_.spinUpMs;
    speed_.current = step;
    showCurrentStep();
}

uint32_t CdromDrive::startMotor()
{
    const uint32_t now = platform::TickCount();
    if (!timed()) return 0;
    if (!spinning_) {
        spinning_ = true;
        dueAt_ = readyAt_ = now + speed_.spinUpMs;
    }
    return uint32_t(std::max<int32_t>(0, int32_t(readyAt_ - now)));
}

uint32_t CdromDrive::retryTime() const { return timed() ? speed_.retryMs : 0; }

uint32_t CdromDrive::readTime(uint32_t lba, uint32_t count)
{
    const auto* disc = dynamic_cast<const Disc*>(medium().get());
    if (!timed() || !disc || count == 0) return 0;
    const SpeedStep& step = *speed_.currentStep();
    const DiscTrack* track = disc->trackAt(lba);
    const bool audio = track && track->kind == TrackKind::Audio;
    const Rotation& rotation =
        audio && step.audioRotation.kind != RotationKind::None ? step.audioRotation : step.rotation;
    const double velocity = disc->velocity();

    const uint32_t now = platform::TickCount();
    double ms = startMotor() + owedMs_;
    const int32_t late = int32_t(now - dueAt_);
    if (lba == headLba_ && late > 0) ms -= std::min(late, kReadAheadMs);
    if (lba != headLba_) {
        const double distance = std::fabs(BlockRadius(lba, velocity) - BlockRadius(headLba_, velocity));
        ms += speed_.seekMs * (1.0 + 2.0 * std::min(distance / kRadialStrokeMm, 1.0)) / 3.0;
    }
    for (uint32_t done = 0; done < count;) {
        const uint32_t n = std::min(count - done, kBlocksPerSlice);
        const double radius = BlockRadius(lba + done + n / 2, velocity);
        ms += n * 1000.0 / BlocksPerSecond(rotation, radius, velocity);
        done += n;
    }
    headLba_ = lba + count;
    const double whole = std::max(0.0, std::floor(ms));
    owedMs_ = std::max(ms - whole, -double(kReadAheadMs));
    dueAt_ = now + uint32_t(whole);
    return uint32_t(whole);
}

}  // namespace emu
