#include "audio/output_clock.h"

#include <cmath>

namespace zelmora {
namespace {

// Weight of each report: with blocks of about 5 ms, a time constant of
// about a third of a second.
constexpr double kBlend = 1.0 / 64.0;
// Reports further off than this are a step (an output that ran dry moves
// every later frame by at least a block) or a wild reading, never jitter.
constexpr double kStepNs = 4e6;
// Blocks that have not come for this long: the output was paused or held
// up, and what was known of its timing is stale.
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
    // A step shows as a run of reports off by about as much; a wild
    // reading as a lone one.
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
