#pragma once

namespace zelmora {

// Level and pan in hundredths of a decibel, as the voices take them.
// Level: 0 is the sample as recorded, -10000 and anything below is silence,
// anything above 0 counts as 0. Pan: a positive pan attenuates the left
// channel by pan/100 dB, a negative one the right channel; +-10000 and
// beyond silence that side.
struct TStereoGain {
  float Left = 1.0F;
  float Right = 1.0F;
};

// Thread: any
float GainForLevel(int hundredthsDb);
TStereoGain GainForVolumeAndPan(int volume, int pan);

}  // namespace zelmora
