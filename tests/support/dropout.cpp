#include "tests/support/dropout.h"

#include <cmath>

namespace zelmora {
namespace {

constexpr float kCutLevel = 1.0F / 64.0F;

}  // namespace

std::optional<TDropout> FindDropout(std::span<const float> samples, int rate) {
  const std::size_t least = static_cast<std::size_t>(rate) / 1000;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    if (samples[i] != 0.0F || std::abs(samples[i - 1]) < kCutLevel) {
      continue;
    }
    std::size_t end = i;
    while (end < samples.size() && samples[end] == 0.0F) {
      ++end;
    }
    if (end - i >= least && end < samples.size()) {
      return TDropout{i, end - i};
    }
    i = end;
  }
  return std::nullopt;
}

}  // namespace zelmora
