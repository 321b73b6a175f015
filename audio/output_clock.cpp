#include "audio/output_clock.h"

#include <algorithm>
#include <cmath>

namespace zelmora {
namespace {

// How long a report keeps its weight in the line's place: its memory. A
// young line remembers only about its own age, so that the first seconds'
// creeping reports fade quickly; once settled it remembers two minutes.
constexpr double kMemorySeconds = 120.0;
constexpr double kShortestMemorySeconds = 2.0;
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
      nsPerFrame_(1e9 / sampleRate),
      pace_(sampleRate) {}

double TOutputClock::PredictedNs(std::int64_t frame) const noexcept {
  return blockStartNs_ + static_cast<double>(frame - originFrame_) * nsPerFrame_;
}

void TOutputClock::Start(std::int64_t frame, double ns) noexcept {
  started_ = true;
  originFrame_ = frame;
  weight_ = 0.0;
  pace_.Reset(frame);
  nsPerFrame_ = nominalNsPerFrame_;
  blockStartNs_ = ns;
  offLineRun_ = 0;
  ageFrames_ = 0;
}

void TOutputClock::MoveOrigin(std::int64_t frame) noexcept {
  const auto dx = static_cast<double>(frame - originFrame_);
  blockStartNs_ += dx * nsPerFrame_;
  originFrame_ = frame;

  // Older reports fade with the frames that passed since.
  ageFrames_ += static_cast<std::int64_t>(dx);
  const double memorySeconds = std::clamp(static_cast<double>(ageFrames_) / sampleRate_,
                                          kShortestMemorySeconds, kMemorySeconds);
  weight_ *= std::exp(-dx / (memorySeconds * sampleRate_));
}

void TOutputClock::Fit(double observedNs) noexcept {
  // The line's place now is the weighted mean of the reports, each carried
  // forward along the rate.
  weight_ += 1.0;
  blockStartNs_ += (observedNs - blockStartNs_) / weight_;
}

void TOutputClock::Shift(double ns) noexcept {
  // Every frame from here on sounds ns later than the line said, as if every
  // earlier report had been that much later; the weight they carry stays.
  blockStartNs_ += ns;
}

bool TOutputClock::RunAgrees() const noexcept {
  const auto [low, high] = std::minmax_element(offLine_.begin(), offLine_.end());
  return *high - *low <= kStepAgreementNs;
}

void TOutputClock::Update(std::int64_t blockStartFrame, double observedNs, double calledNs,
                          bool doubtful) noexcept {
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
  // The line turns about the present with the rate, whether or not this
  // report is fitted: while the reports are held back, the rate still
  // comes from the callbacks.
  if (doubtful) {
    pace_.Break(blockStartFrame);
  } else {
    pace_.Add(blockStartFrame, calledNs);
  }
  nsPerFrame_ = pace_.NsPerFrame();
  if (doubtful) {
    // The output may have run dry: a step of the line is now expected.
    dropoutUntilFrame_ = blockStartFrame + static_cast<std::int64_t>(kDropoutSeconds * sampleRate_);
    return;
  }
  const double offLine = observedNs - PredictedNs(blockStartFrame);
  if (std::abs(offLine) <= kOffLineNs) {
    offLineRun_ = 0;
    if (blockStartFrame <= refineUntilFrame_) {
      // The line's shift becomes the mean of the reports since the step;
      // the weight of the reports before it stays.
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
