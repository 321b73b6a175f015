#include "tests/support/onsets.h"

#include <algorithm>
#include <cmath>

namespace zelmora {

std::vector<double> FindOnsets(std::span<const float> samples, float threshold, int holdoffFrames) {
  std::vector<double> onsets;
  std::size_t from = 1;
  while (const auto onset = NextOnset(samples, from, threshold)) {
    onsets.push_back(onset->Frame);
    from = onset->Above + static_cast<std::size_t>(holdoffFrames);
  }
  return onsets;
}

std::optional<TOnset> NextOnset(std::span<const float> samples, std::size_t from, float threshold) {
  for (std::size_t i = std::max<std::size_t>(from, 1); i < samples.size(); ++i) {
    const float now = std::abs(samples[i]);
    if (now < threshold) {
      continue;
    }
    const float before = std::abs(samples[i - 1]);
    const double fraction = before < threshold ? (threshold - before) / (now - before) : 0.0;
    return TOnset{i, static_cast<double>(i - 1) + fraction};
  }
  return std::nullopt;
}

}  // namespace zelmora
