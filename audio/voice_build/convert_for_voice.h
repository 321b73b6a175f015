#pragma once

#include <cstdint>
#include <memory>

#include "audio/voice_sample.h"
#include "audio/wave/wave.h"

namespace zelmora {

// What ConvertForVoice gives: a sample when Result is kSoundOk, otherwise no
// sample and the code that says why.
struct TVoiceConversion {
  std::unique_ptr<TVoiceSample> Sample;
  std::uint32_t Result = 0;
};

// Converts a wave into the mixer's format: interleaved stereo float at
// `outputRate`. Takes 8-bit unsigned and 16, 24 and 32-bit signed PCM, 32
// and 64-bit float, plain or in an extensible record, mono or stereo, at any
// rate the resampler can bridge. Equal rates copy the converted values
// exactly; other rates are resampled.
//
// Refuses with kSoundInvalidParam an invalid image, a zero rate, data
// without one whole frame or a non-positive outputRate, and with
// kSoundBadFormat every other layout. Only the data bytes the image really
// holds are used. May throw std::bad_alloc.
//
// Threads: the thread that owns the wave, the user-interface thread; never
// the audio callback.
TVoiceConversion ConvertForVoice(const TWave& wave, int outputRate);

}  // namespace zelmora
