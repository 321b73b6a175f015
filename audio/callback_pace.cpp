#include "audio/callback_pace.h"

#include <algorithm>
#include <cmath>

namespace zelmora {
namespace {

constexpr double kWindowSeconds = 0.5;
// How long the points keep their weight. The rate wanders: the null sink's
// was measured to move by 20 to 60 ppm from one 20 s stretch to the next
// (the callbacks, the driver's reports and the recording all agreeing),
// while points this many seconds back pin the slope to a few ppm.
constexpr double kMemorySeconds = 20.0;
// Right after the output starts or runs dry, the driver asks for blocks as
// fast as it can until its buffer is full again.
constexpr double kFillingSeconds = 1.0;
// Consecutive earliest callbacks agree within about 0.1 ms (measured over
// PulseAudio); a point this far off the run's line starts a new run.
constexpr double kRunBreakNs = 1e6;
// The nominal rate weighs in like points 0.1 ms apart that say it is right
// to within 300 ppm: (0.1 ms / 300 ppm of a frame)^2, in frames^2. It
// matters only for the first second or two.
constexpr double kNominalWeight = 2e8;

}  // namespace

TCallbackPace::TCallbackPace(double sampleRate) noexcept
    : sampleRate_(sampleRate), nominalNsPerFrame_(1e9 / sampleRate) {}

void TCallbackPace::Reset(std::int64_t frame) noexcept {
  Break(frame);
  pooledXx_ = pooledXy_ = 0.0;
}

void TCallbackPace::Break(std::int64_t frame) noexcept {
  EndRun();
  haveBest_ = false;
  skipUntil_ = frame + static_cast<std::int64_t>(kFillingSeconds * sampleRate_);
  windowEnd_ = skipUntil_ + static_cast<std::int64_t>(kWindowSeconds * sampleRate_);
}

void TCallbackPace::Add(std::int64_t frame, double calledNs) noexcept {
  if (frame < skipUntil_) {
    return;
  }
  if (frame >= windowEnd_) {
    if (haveBest_) {
      AddPoint(bestFrame_, bestNs_);
    }
    haveBest_ = false;
    windowEnd_ = frame + static_cast<std::int64_t>(kWindowSeconds * sampleRate_);
  }
  const double offNominal = calledNs - static_cast<double>(frame) * nominalNsPerFrame_;
  if (!haveBest_ || offNominal < bestNs_ - static_cast<double>(bestFrame_) * nominalNsPerFrame_) {
    haveBest_ = true;
    bestFrame_ = frame;
    bestNs_ = calledNs;
  }
}

double TCallbackPace::RunPredictedNs(std::int64_t frame) const noexcept {
  const double x = static_cast<double>(frame - runFrame_);
  const double meanX = sx_ / n_;
  const double meanY = sy_ / n_;
  return runNs_ + x * nominalNsPerFrame_ + meanY +
         (x - meanX) * (NsPerFrame() - nominalNsPerFrame_);
}

void TCallbackPace::AddPoint(std::int64_t frame, double calledNs) noexcept {
  if (n_ > 0.0 && std::abs(calledNs - RunPredictedNs(frame)) > kRunBreakNs) {
    EndRun();
  }
  if (n_ == 0.0) {
    runFrame_ = frame;
    runNs_ = calledNs;
  } else {
    const double decay =
        std::exp(-static_cast<double>(frame - lastPointFrame_) / (kMemorySeconds * sampleRate_));
    n_ *= decay;
    sx_ *= decay;
    sy_ *= decay;
    sxx_ *= decay;
    sxy_ *= decay;
    pooledXx_ *= decay;
    pooledXy_ *= decay;
  }
  lastPointFrame_ = frame;
  const double x = static_cast<double>(frame - runFrame_);
  const double y = calledNs - runNs_ - x * nominalNsPerFrame_;
  n_ += 1.0;
  sx_ += x;
  sy_ += y;
  sxx_ += x * x;
  sxy_ += x * y;
}

void TCallbackPace::EndRun() noexcept {
  if (n_ > 0.0) {
    pooledXx_ += sxx_ - sx_ * sx_ / n_;
    pooledXy_ += sxy_ - sx_ * sy_ / n_;
  }
  n_ = sx_ = sy_ = sxx_ = sxy_ = 0.0;
}

double TCallbackPace::NsPerFrame() const noexcept {
  double xx = pooledXx_;
  double xy = pooledXy_;
  if (n_ > 0.0) {
    xx += sxx_ - sx_ * sx_ / n_;
    xy += sxy_ - sx_ * sy_ / n_;
  }
  const double slope = nominalNsPerFrame_ + xy / (xx + kNominalWeight);
  // No converter runs a tenth of a percent off.
  return std::clamp(slope, nominalNsPerFrame_ * 0.999, nominalNsPerFrame_ * 1.001);
}

}  // namespace zelmora
