#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace zelmora {

// A stretch of digital silence that cuts a sound off in the middle: the
// output ran dry (a stall of the machine outlasted its buffer, and the sink
// mixed nothing for the program), which no sound of the program's does: a
// sound dies away to silence, it does not stop from a sixty-fourth of full
// scale or more to nothing. The beats around it are then cut or mixed, so a
// check that finds one judges the run by its timing, not its sounds.
struct TDropout {
  std::size_t Frame;   // the first silent frame
  std::size_t Frames;  // how many
};

// The first dropout of at least a millisecond in a recording at `rate`.
std::optional<TDropout> FindDropout(std::span<const float> samples, int rate);

}  // namespace zelmora
