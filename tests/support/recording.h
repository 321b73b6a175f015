#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// A recording of the sink: the first channel of a 16-bit PCM WAVE file, as
// values of full scale 1.
struct TRecording {
  int SampleRate = 0;
  std::vector<float> Samples;
};

// Nothing when the file cannot be read or is not 16-bit PCM.
std::optional<TRecording> ReadRecording(const std::string& path);

}  // namespace zelmora
