#pragma once

#include <memory>

#include "audio/voice_sample.h"

namespace zelmora {

// A click that is easy to find in a recording: its first frame is its
// loudest, then a few milliseconds of a decaying 1 kHz tone.
std::unique_ptr<TVoiceSample> MakeClickSample(int sampleRate);

// The level of the click's first frame (full scale is 1).
inline constexpr float kClickPeak = 0.8F;

}  // namespace zelmora
