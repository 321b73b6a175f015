#include "audio/output_clock.h"

#include <algorithm>
#include <cmath>

namespace zelmora {
namespace {

// How long a report keeps its weight: the fit's memory.
constexpr double kMemorySeconds = 120.0;
// A report this far off the line means the stream was interrupted (an
// underrun, a suspended sink): start a new line rather than bend the old.
// The reports' own jitter stays within about 2 ms here.
constexpr double kRestartNs = 5e6;
// The fit needs reports spread over this long before its slope is trusted
// over the nominal rate.
constexpr double kSlopeAfterSeconds = 1.0;

}  // namespace

TOutputClock::TOutputClock(double sampleRate)
    : sampleRate_(sampleRate),
      nominalNsPerFrame_(1e9 / sampleRate),
      nsPerFrame_(1e9 / sampleRate),
      knownNsPerFrame_(1e9 / sampleRate) {}

void TOutputClock::Restart(std::int64_t frame, double observedNs) noexcept {
  if (started_) {
    ++restarts_;
  }
  started_ = true;
  originFrame_ = frame;
  originNs_ = observedNs;
  s0_ = sx_ = sy_ = sxx_ = sxy_ = 0.0;
  nsPerFrame_ = knownNsPerFrame_;
  blockStartNs_ = observedNs;
}

void TOutputClock::Update(std::int64_t blockStartFrame, int frames, double observedNs,
                          bool discontinuity) noexcept {
  if (!started_) {
    Restart(blockStartFrame, observedNs);
  }
  const double predicted =
      blockStartNs_ + static_cast<double>(blockStartFrame - originFrame_) * nsPerFrame_;
  if (discontinuity || std::abs(observedNs - predicted) > kRestartNs) {
    Restart(blockStartFrame, observedNs);
  }

  // Move the origin to this block: x' = x - dx, y' = y - dy.
  const auto dx = static_cast<double>(blockStartFrame - originFrame_);
  const double dy = dx * nominalNsPerFrame_;
  sxy_ = sxy_ - dy * sx_ - dx * sy_ + dx * dy * s0_;
  sxx_ = sxx_ - 2.0 * dx * sx_ + dx * dx * s0_;
  sx_ -= dx * s0_;
  sy_ -= dy * s0_;
  originFrame_ = blockStartFrame;
  originNs_ += dy;

  // Older reports fade with the frames that passed since.
  const double decay = std::exp(-dx / (kMemorySeconds * sampleRate_));
  s0_ *= decay;
  sx_ *= decay;
  sy_ *= decay;
  sxx_ *= decay;
  sxy_ *= decay;

  // This block's report, at x = 0.
  const double y = observedNs - originNs_;
  s0_ += 1.0;
  sy_ += y;

  const double spread = s0_ * sxx_ - sx_ * sx_;
  const double spanFrames = std::sqrt(std::max(0.0, sxx_ / s0_ - (sx_ / s0_) * (sx_ / s0_)));
  double slope = knownNsPerFrame_;
  if (spread > 0.0 && spanFrames > kSlopeAfterSeconds * sampleRate_ / 4.0) {
    slope = (s0_ * sxy_ - sx_ * sy_) / spread;
    slope = std::clamp(slope, nominalNsPerFrame_ * 0.99, nominalNsPerFrame_ * 1.01);
    knownNsPerFrame_ = slope;
  }
  nsPerFrame_ = slope;
  blockStartNs_ = originNs_ + (sy_ - slope * sx_) / s0_;
  (void)frames;
}

std::int64_t TOutputClock::FrameAt(double ns) const noexcept {
  return originFrame_ + std::llround((ns - blockStartNs_) / nsPerFrame_);
}

}  // namespace zelmora
