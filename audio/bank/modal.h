#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/bank/dsp.h"

namespace zelmora::synth {

// Start phases of a mode. A cosine start puts the mode at full level on the
// first sample; giving it to the main mode only keeps the modes from adding
// up to a one-sample spike.
inline constexpr double kSineStart = 0.0;
inline constexpr double kCosineStart = 1.5707963267948966;

// One resonance of a struck body: a sine at `hz` that starts at `amp` and
// decays with time constant `tau` seconds; `phase` in radians at the strike.
struct TMode {
  double hz;
  double amp;
  double tau;
  double phase = kSineStart;
};

// A struck body: its modes, an optional pitch drop after the strike (heads
// are tighter while pressed down), the contact noise of the stick or finger,
// and an optional saturating output stage.
struct TStrike {
  std::vector<TMode> modes;
  double bend = 0.0;      // pitch offset at the strike, as a fraction
  double bendTau = 0.02;  // seconds for the pitch to settle
  double clickLevel = 0.0;
  double clickTau = 0.001;
  double clickHz = 3000.0;  // band of the contact noise
  double clickQ = 0.8;
  double drive = 0.0;       // > 0 passes the sum through tanh(drive * x)
  double highPassHz = 0.0;  // 0 for none
  std::uint32_t seed = 1;
};

TSignal RenderStrike(const TStrike& strike, double rate, std::size_t count);

}  // namespace zelmora::synth
