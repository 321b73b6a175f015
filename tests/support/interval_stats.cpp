#include "tests/support/interval_stats.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace zelmora {

TIntervalStats MeasureIntervals(std::span<const double> onsets, double intervalSeconds,
                                double framesPerSecond, double outputRate) {
  TIntervalStats stats;
  if (onsets.size() < 2) {
    return stats;
  }
  const double expected = intervalSeconds * framesPerSecond;
  // One frame of the output, in recorded frames.
  const double outputFrame = outputRate > 0.0 ? framesPerSecond / outputRate : 1.0;
  const std::size_t n = onsets.size() - 1;
  double sum = 0.0;
  double sumSquares = 0.0;
  std::vector<double> sizes(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double deviation = onsets[i + 1] - onsets[i] - expected;
    sum += deviation;
    sumSquares += deviation * deviation;
    sizes[i] = std::abs(deviation);
    if (sizes[i] <= 1.0) {
      ++stats.WithinOneFrame;
    }
    if (sizes[i] <= outputFrame) {
      ++stats.WithinOneOutputFrame;
    }
    if (sizes[i] > stats.MaxDeviationFrames) {
      stats.MaxDeviationFrames = sizes[i];
      stats.WorstInterval = static_cast<int>(i);
    }
  }
  const double count = static_cast<double>(n);
  const double mean = sum / count;
  const double msPerFrame = 1e3 / framesPerSecond;
  stats.Intervals = static_cast<int>(n);
  stats.MeanErrorPpm = mean / expected * 1e6;
  stats.StddevMs = std::sqrt(std::max(0.0, sumSquares / count - mean * mean)) * msPerFrame;
  stats.MaxDeviationMs = stats.MaxDeviationFrames * msPerFrame;
  std::sort(sizes.begin(), sizes.end());
  stats.MedianDeviationMs = sizes[n / 2] * msPerFrame;
  stats.P99DeviationMs = sizes[std::min(n - 1, n * 99 / 100)] * msPerFrame;
  return stats;
}

}  // namespace zelmora
