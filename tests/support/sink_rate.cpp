#include "tests/support/sink_rate.h"

#include <algorithm>
#include <cstdio>

#include "tests/support/line_fit.h"

namespace zelmora {
namespace {

// The stream's first second is left out: it starts in bursts.
constexpr std::int64_t kSettleNs = 1'000'000'000;
constexpr std::int64_t kStretchNs = 500'000'000;
constexpr std::size_t kMinStretches = 4;
constexpr double kLocalSpanSeconds = 30.0;

std::optional<double> Rate(std::span<const double> frames, std::span<const double> times) {
  if (frames.size() < kMinStretches) {
    return std::nullopt;
  }
  const TLine line = FitLine(frames, times);  // ns per frame
  if (line.Slope <= 0.0) {
    return std::nullopt;
  }
  return 1e9 / line.Slope;
}

}  // namespace

void TArrivalRate::Add(std::int64_t totalFrames, std::int64_t steadyNs) {
  arrivals_.push_back({totalFrames, steadyNs});
}

void TArrivalRate::Earliest(double nominalRate, std::vector<double>& frames,
                            std::vector<double>& times) const {
  if (arrivals_.empty()) {
    return;
  }
  const std::int64_t from = arrivals_.front().ns + kSettleNs;
  const double nsPerFrame = 1e9 / nominalRate;
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
}

std::optional<double> TArrivalRate::FramesPerSecond(double nominalRate) const {
  std::vector<double> frames;
  std::vector<double> times;
  Earliest(nominalRate, frames, times);
  return Rate(frames, times);
}

std::optional<double> TArrivalRate::FramesPerSecondAround(double frame, double spanSeconds,
                                                          double nominalRate) const {
  std::vector<double> frames;
  std::vector<double> times;
  Earliest(nominalRate, frames, times);
  const double half = spanSeconds * nominalRate / 2.0;
  const auto from = std::lower_bound(frames.begin(), frames.end(), frame - half);
  const auto to = std::upper_bound(frames.begin(), frames.end(), frame + half);
  const auto first = static_cast<std::size_t>(from - frames.begin());
  const auto count = static_cast<std::size_t>(to - from);
  return Rate(std::span(frames).subspan(first, count), std::span(times).subspan(first, count));
}

std::optional<TArrivalRate> TArrivalRate::ReadLog(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) {
    return std::nullopt;
  }
  TArrivalRate rate;
  long long frames = 0;
  long long ns = 0;
  while (std::fscanf(file, "%lld %lld", &frames, &ns) == 2) {
    rate.Add(frames, ns);
  }
  std::fclose(file);
  if (rate.arrivals_.empty()) {
    return std::nullopt;
  }
  return rate;
}

std::vector<double> AtMeanRate(std::span<const double> onsets, const TArrivalRate& arrivals,
                               double meanRate, double nominalRate) {
  std::vector<double> even(onsets.begin(), onsets.end());
  for (std::size_t i = 1; i < onsets.size(); ++i) {
    const double length = onsets[i] - onsets[i - 1];
    const double here =
        arrivals.FramesPerSecondAround(onsets[i - 1] + 0.5 * length, kLocalSpanSeconds, nominalRate)
            .value_or(meanRate);
    even[i] = even[i - 1] + length * meanRate / here;
  }
  return even;
}

}  // namespace zelmora
