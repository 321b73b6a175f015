#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace zelmora {

// Where clicks begin in a recording, in frames with a fractional part: the
// point where the magnitude first rises through `threshold`, interpolated
// between the two samples around it, so that a click that was resampled on
// its way keeps its position to a fraction of a frame. After each onset the
// next `holdoffFrames` are passed over (the rest of the click).
std::vector<double> FindOnsets(std::span<const float> samples, float threshold, int holdoffFrames);

struct TOnset {
  std::size_t Above = 0;  // the first sample at or above the threshold
  double Frame = 0.0;     // where the magnitude rises through it, as FindOnsets gives it
};

// The first onset at or after sample `from` (at least 1), or nothing.
std::optional<TOnset> NextOnset(std::span<const float> samples, std::size_t from, float threshold);

}  // namespace zelmora
