#pragma once

#include <cstddef>
#include <vector>

namespace zelmora {

// A voice's sound in the mixer's own format: interleaved stereo float frames
// at the output's rate. Built once off the audio thread, then never changed;
// the audio thread only reads it.
struct TVoiceSample {
  std::vector<float> Frames;  // left, right, left, right, ...
  // Thread: any
  std::size_t FrameCount() const { return Frames.size() / 2; }
};

}  // namespace zelmora
