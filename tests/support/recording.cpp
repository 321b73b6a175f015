#include "tests/support/recording.h"

#include <cstdint>

#include "audio/wave/wave.h"

namespace zelmora {

std::optional<TRecording> ReadRecording(const std::string& path) {
  TWave wave;
  if (!wave.LoadFromFile(path)) {
    return std::nullopt;
  }
  const std::optional<TWaveFormat> format = wave.Format();
  if (!format || format->wFormatTag != kWaveFormatPcm || format->wBitsPerSample != 16 ||
      format->nChannels == 0) {
    return std::nullopt;
  }
  const auto data = wave.PresentData();
  const std::size_t stride = 2U * format->nChannels;
  TRecording recording;
  recording.SampleRate = static_cast<int>(format->nSamplesPerSec);
  recording.Samples.reserve(data.size() / stride);
  for (std::size_t at = 0; at + stride <= data.size(); at += stride) {
    const auto value = static_cast<std::int16_t>(data[at] | (data[at + 1] << 8));
    recording.Samples.push_back(static_cast<float>(value) / 32768.0F);
  }
  return recording;
}

}  // namespace zelmora
