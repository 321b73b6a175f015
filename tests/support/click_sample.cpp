#include "tests/support/click_sample.h"

#include <cmath>
#include <numbers>

namespace zelmora {

std::unique_ptr<TVoiceSample> MakeClickSample(int sampleRate) {
  constexpr double kSeconds = 0.004;
  constexpr double kToneHz = 1000.0;
  const auto frames = static_cast<std::size_t>(kSeconds * sampleRate);
  auto sample = std::make_unique<TVoiceSample>();
  sample->Frames.resize(2 * frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / sampleRate;
    const double fade = 1.0 - static_cast<double>(i) / static_cast<double>(frames);
    const auto value =
        static_cast<float>(kClickPeak * fade * std::cos(2.0 * std::numbers::pi * kToneHz * t));
    sample->Frames[2 * i] = value;
    sample->Frames[2 * i + 1] = value;
  }
  return sample;
}

}  // namespace zelmora
