#include "audio/output_clock.h"

#include <algorithm>
#include <cmath>

namespace zelmora {
namespace {

// How long a report keeps its weight: the fit's memory. A young line
// remembers only about its own age, so that what the first seconds of
// creeping reports taught it (a slope hundreds of ppm off, say) fades
// quickly; once settled it remembers two minutes.
constexpr double kMemorySeconds = 120.0;
constexpr double kShortestMemorySeconds = 2.0;
// The slope is fitted once the reports span a second; until then the
// nominal rate serves.
constexpr double kSlopeAfterSeconds = 1.0;
// A report this far off the line is not fitted: it belongs to a step of the
// line, or it is wild. Settled reports lie within about 0.1 ms of the line
// here; a stall moves it by milliseconds.
constexpr double kOffLineNs = 0.75e6;
// Until the line is this old, it may itself be wrong, and reports a little
// off it are fitted after all (unless they follow a dropout); a report
// further off is a step even then.
constexpr double kSettledSeconds = 20.0;
constexpr double kYoungOffLineNs = 3e6;
// After a doubtful report (a dropout), a step of the line is expected for
// this long.
constexpr double kDropoutSeconds = 0.5;
// After a step, the reports of this long refine how far it went: the few
// it was judged from say that only roughly.
constexpr double kStepRefineSeconds = 2.0;
// The reports that judge a step must agree this well: right after a
// dropout the driver's reports can take a few blocks to settle.
constexpr double kStepAgreementNs = 0.5e6;

}  // namespace

TOutputClock::TOutputClock(double sampleRate)
    : sampleRate_(sampleRate),
      nominalNsPerFrame_(1e9 / sampleRate),
      nsPerFrame_(1e9 / sampleRate) {}

double TOutputClock::PredictedNs(std::int64_t frame) const noexcept {
  return blockStartNs_ + static_cast<double>(frame - originFrame_) * nsPerFrame_;
}

double TOutputClock::SpanSeconds() const noexcept {
  if (s0_ <= 0.0) {
    return 0.0;
  }
  // A uniform spread of reports over T has a standard deviation of T / √12.
  const double meanX = sx_ / s0_;
  return std::sqrt(12.0 * std::max(0.0, sxx_ / s0_ - meanX * meanX)) / sampleRate_;
}

void TOutputClock::Start(std::int64_t frame, double ns) noexcept {
  started_ = true;
  originFrame_ = frame;
  originNs_ = ns;
  s0_ = sx_ = sy_ = sxx_ = sxy_ = 0.0;
  nsPerFrame_ = nominalNsPerFrame_;
  blockStartNs_ = ns;
  offLineRun_ = 0;
  ageFrames_ = 0;
}

void TOutputClock::MoveOrigin(std::int64_t frame) noexcept {
  // x' = x - dx, y' = y - dy.
  const auto dx = static_cast<double>(frame - originFrame_);
  const double dy = dx * nominalNsPerFrame_;
  sxy_ = sxy_ - dy * sx_ - dx * sy_ + dx * dy * s0_;
  sxx_ = sxx_ - 2.0 * dx * sx_ + dx * dx * s0_;
  sx_ -= dx * s0_;
  sy_ -= dy * s0_;
  blockStartNs_ += dx * nsPerFrame_;
  originFrame_ = frame;
  originNs_ += dy;

  // Older reports fade with the frames that passed since.
  ageFrames_ += static_cast<std::int64_t>(dx);
  const double memorySeconds = std::clamp(static_cast<double>(ageFrames_) / sampleRate_,
                                          kShortestMemorySeconds, kMemorySeconds);
  const double decay = std::exp(-dx / (memorySeconds * sampleRate_));
  s0_ *= decay;
  sx_ *= decay;
  sy_ *= decay;
  sxx_ *= decay;
  sxy_ *= decay;
}

void TOutputClock::Fit(double observedNs) noexcept {
  // This block's report, at x = 0.
  const double y = observedNs - originNs_;
  s0_ += 1.0;
  sy_ += y;

  const double spread = s0_ * sxx_ - sx_ * sx_;
  double slope = nsPerFrame_;
  if (spread > 0.0 && SpanSeconds() >= kSlopeAfterSeconds) {
    slope = (s0_ * sxy_ - sx_ * sy_) / spread;
    // No converter runs a tenth of a percent off; a slope beyond that comes
    // from reports that lie.
    slope = std::clamp(slope, nominalNsPerFrame_ * 0.999, nominalNsPerFrame_ * 1.001);
  }
  nsPerFrame_ = slope;
  blockStartNs_ = originNs_ + (sy_ - slope * sx_) / s0_;
}

void TOutputClock::Shift(double ns) noexcept {
  // Every frame from here on sounds ns later than the line said, as if every
  // earlier report had been that much later: shift them all. The slope, and
  // the history it rests on, stay.
  sy_ += ns * s0_;
  sxy_ += ns * sx_;
  blockStartNs_ += ns;
}

bool TOutputClock::RunAgrees() const noexcept {
  const auto [low, high] = std::minmax_element(offLine_.begin(), offLine_.end());
  return *high - *low <= kStepAgreementNs;
}

void TOutputClock::Update(std::int64_t blockStartFrame, double observedNs, bool doubtful) noexcept {
  if (!started_ || (provisional_ && !doubtful)) {
    Start(blockStartFrame, observedNs);
    provisional_ = doubtful;
    Fit(observedNs);
    return;
  }
  MoveOrigin(blockStartFrame);
  if (provisional_) {
    return;
  }
  if (doubtful) {
    // The output may have run dry: a step of the line is now expected.
    dropoutUntilFrame_ = blockStartFrame + static_cast<std::int64_t>(kDropoutSeconds * sampleRate_);
    return;
  }
  const double offLine = observedNs - PredictedNs(blockStartFrame);
  if (std::abs(offLine) <= kOffLineNs) {
    offLineRun_ = 0;
    if (blockStartFrame <= refineUntilFrame_) {
      // The line's shift becomes the mean of the reports since the step.
      // They are not fitted: reports settling after a dropout would tilt
      // the slope, which the step did not change.
      ++refineCount_;
      Shift(offLine / refineCount_);
      return;
    }
    Fit(observedNs);
    return;
  }
  // A step moves every report the same way; a run that changes side is
  // jitter, and starts over.
  if (offLineRun_ > 0 && (offLine > 0.0) != offLineLate_) {
    offLineRun_ = 0;
  }
  if (offLineRun_ == 0) {
    offLineLate_ = offLine > 0.0;
    offLineAfterDropout_ = blockStartFrame <= dropoutUntilFrame_;
  }
  offLine_[offLineRun_++ % kStepRun] = offLine;
  // The sound server's estimates also jump, by a millisecond or by tens of
  // them, for seconds or for minutes, with nothing having happened to the
  // output (measured: the clicks kept their spacing throughout); only after
  // a dropout is a run of reports off the line taken as a step. Should the
  // line ever be off by a real step that no dropout announced, every beat
  // sounds that much later than meant, all alike: their spacing, which is
  // what counts, stays exact.
  const bool stepped = offLineRun_ >= kStepRun && RunAgrees() && offLineAfterDropout_;
  if (stepped) {
    // How far: the median of the latest reports, whatever one of them says
    // on its own.
    std::array<double, kStepRun> sorted = offLine_;
    std::nth_element(sorted.begin(), sorted.begin() + kStepRun / 2, sorted.end());
    Shift(sorted[kStepRun / 2]);
    ++restarts_;
    offLineRun_ = 0;
    refineUntilFrame_ =
        blockStartFrame + static_cast<std::int64_t>(kStepRefineSeconds * sampleRate_);
    refineCount_ = 1;
    Fit(observedNs);
    return;
  }
  // While the line is young, a report it cannot explain more likely shows
  // the line is still wrong: fit it.
  if (!offLineAfterDropout_ && std::abs(offLine) < kYoungOffLineNs &&
      ageFrames_ < static_cast<std::int64_t>(kSettledSeconds * sampleRate_)) {
    Fit(observedNs);
  }
}

std::int64_t TOutputClock::FrameAt(double ns) const noexcept {
  return originFrame_ + std::llround((ns - blockStartNs_) / nsPerFrame_);
}

}  // namespace zelmora
