#include "audio/voice_build/convert_for_voice.h"

#include <utility>
#include <vector>

#include "audio/mixer.h"
#include "audio/voice_build/resample_stereo.h"
#include "audio/voice_build/sample_decoder.h"
#include "audio/voice_build/sample_format.h"

namespace zelmora {

TVoiceConversion ConvertForVoice(const TWave& wave, int outputRate) {
  TSampleFormat format;
  if (const std::uint32_t result = ReadSampleFormat(wave, format); result != kSoundOk) {
    return {nullptr, result};
  }
  if (outputRate <= 0) {
    return {nullptr, kSoundInvalidParam};
  }
  // An empty buffer cannot be played; neither can a few bytes short of a frame.
  std::vector<float> frames = DecodeToStereo(wave.PresentData(), format);
  if (frames.empty()) {
    return {nullptr, kSoundInvalidParam};
  }

  auto sample = std::make_unique<TVoiceSample>();
  const auto rate = static_cast<std::uint32_t>(outputRate);
  if (format.Rate == rate) {
    sample->Frames = std::move(frames);
  } else if (const std::uint32_t result = ResampleStereo(frames, format.Rate, rate, sample->Frames);
             result != kSoundOk) {
    return {nullptr, result};
  }
  return {std::move(sample), kSoundOk};
}

}  // namespace zelmora
