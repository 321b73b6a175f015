#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "audio/voice_build/sample_format.h"

namespace zelmora {

// Decodes the whole frames of `data` into interleaved stereo float frames at
// the data's own rate; a mono value goes to both channels. Integers map to
// -1..1 by dividing by their full scale (int16 v becomes v / 32768), float
// values are kept as they are, except that NaN and infinity become silence
// so that one bad value cannot poison the whole mix. A trailing partial
// frame is ignored.
//
// Threads: any; it only reads its arguments. Never on the audio callback.
std::vector<float> DecodeToStereo(std::span<const std::uint8_t> data, const TSampleFormat& format);

}  // namespace zelmora
