#pragma once

#include <span>
#include <vector>

namespace zelmora {

// Where clicks begin in a recording, in frames with a fractional part: the
// point where the magnitude first rises through `threshold`, interpolated
// between the two samples around it, so that a click that was resampled on
// its way keeps its position to a fraction of a frame. After each onset the
// next `holdoffFrames` are passed over (the rest of the click).
std::vector<double> FindOnsets(std::span<const float> samples, float threshold, int holdoffFrames);

}  // namespace zelmora
