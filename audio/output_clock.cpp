#include "audio/output_clock.h"

#include <cmath>

namespace zelmora {
namespace {

// The estimate and its rules are told in output_clock.h.

// Weight of each report: with blocks of about 5 ms, the time constant.
constexpr double kBlend = 1.0 / 64.0;
// An output that ran dry moves every later frame by at least a block;
// jitter stays well within this.
constexpr double kStepNs = 4e6;
constexpr double kGapNs = 100e6;

}  // namespace

TOutputClock::TOutputClock(double sampleRate) : nsPerFrame_(1e9 / sampleRate) {}

void TOutputClock::Update(std::int64_t blockStartFrame, double heardNs, double calledNs,
                          bool doubtful) noexcept {
  const double reportedOrigin = heardNs - static_cast<double>(blockStartFrame) * nsPerFrame_;
  const bool gap = started_ && calledNs - lastCalledNs_ > kGapNs;
  lastCalledNs_ = calledNs;
  if (!started_ || gap || (provisional_ && !doubtful)) {
    originNs_.store(reportedOrigin, std::memory_order_release);
    started_ = true;
    provisional_ = doubtful;
    offRun_ = 0;
    return;
  }
  if (doubtful) {
    return;
  }
  const double origin = originNs_.load(std::memory_order_relaxed);
  const double off = reportedOrigin - origin;
  if (std::abs(off) > kStepNs) {
    if (++offRun_ >= kStepRun) {
      originNs_.store(reportedOrigin, std::memory_order_release);
      offRun_ = 0;
    }
    return;
  }
  offRun_ = 0;
  originNs_.store(origin + kBlend * off, std::memory_order_release);
}

}  // namespace zelmora
