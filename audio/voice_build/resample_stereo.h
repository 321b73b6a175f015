#pragma once

#include <cstdint>
#include <vector>

namespace zelmora {

// Resamples interleaved stereo float frames from `fromRate` to `toRate` with
// libsamplerate's band-limited sinc converter, flushing its tail so the
// result covers the whole input (about frames * toRate / fromRate frames).
// Returns kSoundOk and fills `out`; kSoundBadFormat when the ratio of the
// rates is beyond what the converter handles (more than 256 either way);
// kSoundOutOfMemory or kSoundGenericError when the converter fails.
//
// Threads: any, but it takes time in proportion to the sample's length: the
// user-interface thread, never the audio callback.
std::uint32_t ResampleStereo(const std::vector<float>& in, std::uint32_t fromRate,
                             std::uint32_t toRate, std::vector<float>& out);

}  // namespace zelmora
