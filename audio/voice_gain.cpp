#include "audio/voice_gain.h"

#include <cmath>

namespace zelmora {

float GainForLevel(int hundredthsDb) {
  if (hundredthsDb >= 0) {
    return 1.0F;
  }
  if (hundredthsDb <= -10000) {
    return 0.0F;
  }
  return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

TStereoGain GainForVolumeAndPan(int volume, int pan) {
  const float level = GainForLevel(volume);
  TStereoGain gain{level, level};
  if (pan > 0) {
    gain.Left *= GainForLevel(-pan);
  } else if (pan < 0) {
    gain.Right *= GainForLevel(pan);
  }
  return gain;
}

}  // namespace zelmora
