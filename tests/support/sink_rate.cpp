#include "tests/support/sink_rate.h"

#include "tests/support/line_fit.h"

namespace zelmora {
namespace {

// The stream's first second is left out: it starts in bursts.
constexpr std::int64_t kSettleNs = 1'000'000'000;
constexpr std::int64_t kStretchNs = 500'000'000;
constexpr std::size_t kMinStretches = 4;

}  // namespace

void TArrivalRate::Add(std::int64_t totalFrames, std::int64_t steadyNs) {
  arrivals_.push_back({totalFrames, steadyNs});
}

std::optional<double> TArrivalRate::FramesPerSecond(double nominalRate) const {
  if (arrivals_.empty()) {
    return std::nullopt;
  }
  const std::int64_t from = arrivals_.front().ns + kSettleNs;
  const double nsPerFrame = 1e9 / nominalRate;
  std::vector<double> frames;
  std::vector<double> times;
  std::int64_t stretchEnd = from;
  double best = 0.0;
  for (const TArrival& a : arrivals_) {
    if (a.ns < from) {
      continue;
    }
    // How late this arrival is against a nominal clock; only the earliest
    // of each stretch is kept.
    const double late = static_cast<double>(a.ns) - static_cast<double>(a.frames) * nsPerFrame;
    if (a.ns >= stretchEnd) {
      stretchEnd += kStretchNs * ((a.ns - stretchEnd) / kStretchNs + 1);
      frames.push_back(static_cast<double>(a.frames));
      times.push_back(static_cast<double>(a.ns));
      best = late;
    } else if (late < best) {
      frames.back() = static_cast<double>(a.frames);
      times.back() = static_cast<double>(a.ns);
      best = late;
    }
  }
  if (frames.size() < kMinStretches) {
    return std::nullopt;
  }
  const TLine line = FitLine(frames, times);  // ns per frame
  if (line.Slope <= 0.0) {
    return std::nullopt;
  }
  return 1e9 / line.Slope;
}

}  // namespace zelmora
