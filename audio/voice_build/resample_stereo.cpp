#include "audio/voice_build/resample_stereo.h"

#include <samplerate.h>

#include <cmath>
#include <memory>

#include "audio/mixer.h"
#include "audio/voice_build/sound_error_text.h"

namespace zelmora {
namespace {

constexpr int kChannels = 2;
// Headroom for the converter's rounding of the output length; the loop below
// grows the buffer if it is not enough.
constexpr std::size_t kSpareFrames = 64;

struct TStateDeleter {
  void operator()(SRC_STATE* state) const { src_delete(state); }
};
using TState = std::unique_ptr<SRC_STATE, TStateDeleter>;

}  // namespace

std::uint32_t ResampleStereo(const std::vector<float>& in, std::uint32_t fromRate,
                             std::uint32_t toRate, std::vector<float>& out) {
  const double ratio = static_cast<double>(toRate) / static_cast<double>(fromRate);
  if (src_is_valid_ratio(ratio) == 0) {
    return kSoundBadFormat;
  }
  int error = 0;
  // Medium quality keeps the pass band flat to about 90 % of Nyquist, plenty
  // for a click, and converts a one-second bell without a noticeable pause.
  const TState state(src_new(SRC_SINC_MEDIUM_QUALITY, kChannels, &error));
  if (!state) {
    return kSoundOutOfMemory;
  }

  const std::size_t inFrames = in.size() / kChannels;
  const double estimate = std::ceil(static_cast<double>(inFrames) * ratio);
  out.assign(kChannels * (static_cast<std::size_t>(estimate) + kSpareFrames), 0.0F);

  SRC_DATA data{};
  data.data_in = in.data();
  data.input_frames = static_cast<long>(inFrames);
  data.end_of_input = 1;  // the whole sample is here: flush the filter's tail too
  data.src_ratio = ratio;
  std::size_t produced = 0;
  for (;;) {
    if (produced == out.size() / kChannels) {
      out.resize(out.size() + kChannels * kSpareFrames, 0.0F);
    }
    data.data_out = out.data() + kChannels * produced;
    data.output_frames = static_cast<long>(out.size() / kChannels - produced);
    if (src_process(state.get(), &data) != 0) {
      return kSoundGenericError;
    }
    data.data_in += kChannels * data.input_frames_used;
    data.input_frames -= data.input_frames_used;
    produced += static_cast<std::size_t>(data.output_frames_gen);
    if (data.output_frames_gen == 0 && (data.input_frames == 0 || data.input_frames_used == 0)) {
      break;
    }
  }
  out.resize(kChannels * produced);
  return kSoundOk;
}

}  // namespace zelmora
