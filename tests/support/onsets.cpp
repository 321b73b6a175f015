#include "tests/support/onsets.h"

#include <cmath>
#include <cstddef>

namespace zelmora {

std::vector<double> FindOnsets(std::span<const float> samples, float threshold, int holdoffFrames) {
  std::vector<double> onsets;
  std::size_t i = 1;
  while (i < samples.size()) {
    const float now = std::abs(samples[i]);
    if (now < threshold) {
      ++i;
      continue;
    }
    const float before = std::abs(samples[i - 1]);
    const double fraction = before < threshold ? (threshold - before) / (now - before) : 0.0;
    onsets.push_back(static_cast<double>(i - 1) + fraction);
    i += static_cast<std::size_t>(holdoffFrames);
  }
  return onsets;
}

}  // namespace zelmora
