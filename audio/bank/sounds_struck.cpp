#include "audio/bank/modal.h"
#include "audio/bank/sounds.h"

namespace zelmora::synth {

namespace {

// Modes of an ideal circular membrane relative to its fundamental.
constexpr double kMembraneRatios[] = {1.0, 1.59, 2.14, 2.30, 2.65};

TStrike Membrane(double hz, double tau, const double (&amps)[5]) {
  TStrike drum;
  for (int i = 0; i < 5; ++i) {
    // Higher modes lose their energy faster.
    drum.modes.push_back({hz * kMembraneRatios[i], amps[i], tau / (1.0 + 0.6 * i),
                          i == 0 ? kCosineStart : kSineStart});
  }
  return drum;
}

// The tabla's loaded head tunes its first modes to near-harmonic ratios.
TStrike Tabla(double hz, const double (&amps)[6], const double (&taus)[6]) {
  TStrike drum;
  for (int i = 0; i < 6; ++i) {
    drum.modes.push_back(
        {hz * (i + 1) * (1.0 + 0.004 * i), amps[i], taus[i], i == 0 ? kCosineStart : kSineStart});
  }
  drum.bend = 0.03;
  drum.bendTau = 0.03;
  return drum;
}

}  // namespace

TSignal Render808Rimshot(double rate, std::size_t count) {
  // The drum machine rings two resonators, at about 455 Hz and 1.7 kHz,
  // for a few milliseconds and clips the sum hard.
  TStrike rim;
  rim.modes = {{455.0, 0.6, 0.011}, {1667.0, 1.0, 0.006, kCosineStart}, {455.0, 0.02, 0.06}};
  rim.clickLevel = 0.5;
  rim.clickHz = 5000.0;
  rim.clickTau = 0.0008;
  rim.drive = 3.0;
  rim.highPassHz = 220.0;
  rim.seed = 808;
  return RenderStrike(rim, rate, count);
}

TSignal RenderClaves(double rate, std::size_t count) {
  TStrike claves;
  claves.modes = {{2500.0, 1.0, 0.022, kCosineStart}, {6900.0, 0.08, 0.004}};
  claves.clickLevel = 0.3;
  claves.clickHz = 4000.0;
  claves.clickTau = 0.0005;
  claves.seed = 11;
  return RenderStrike(claves, rate, count);
}

TSignal RenderJamBlock(double rate, std::size_t count) {
  // Hard plastic: a clear pitch with bright, quickly fading overtones.
  TStrike block;
  block.modes = {{1100.0, 1.0, 0.045, kCosineStart},
                 {2830.0, 0.45, 0.025},
                 {4650.0, 0.2, 0.012},
                 {6900.0, 0.08, 0.006}};
  block.clickLevel = 0.4;
  block.clickHz = 3500.0;
  block.clickTau = 0.0008;
  block.seed = 17;
  return RenderStrike(block, rate, count);
}

TSignal RenderWoodBlockHi(double rate, std::size_t count) {
  // Hollow wood: a higher, shorter and woodier knock than the jam block.
  TStrike block;
  block.modes = {{1760.0, 1.0, 0.035, kCosineStart}, {2390.0, 0.3, 0.022}, {5200.0, 0.15, 0.008}};
  block.clickLevel = 0.6;
  block.clickHz = 2500.0;
  block.clickQ = 0.7;
  block.clickTau = 0.0012;
  block.seed = 18;
  return RenderStrike(block, rate, count);
}

TSignal RenderFingerBongosHi(double rate, std::size_t count) {
  TStrike drum = Membrane(540.0, 0.045, {1.0, 0.35, 0.2, 0.15, 0.1});
  drum.bend = 0.12;
  drum.bendTau = 0.012;
  drum.clickLevel = 0.5;
  drum.clickHz = 2200.0;
  drum.clickTau = 0.0015;
  drum.seed = 13;
  return RenderStrike(drum, rate, count);
}

TSignal RenderFingerBongosLow(double rate, std::size_t count) {
  TStrike drum = Membrane(360.0, 0.055, {1.0, 0.35, 0.2, 0.15, 0.1});
  drum.bend = 0.14;
  drum.bendTau = 0.014;
  drum.clickLevel = 0.4;
  drum.clickHz = 1800.0;
  drum.clickTau = 0.0015;
  drum.seed = 14;
  return RenderStrike(drum, rate, count);
}

TSignal RenderTablaSharpTin(double rate, std::size_t count) {
  // Struck on the open head: the fundamental rings.
  TStrike drum =
      Tabla(330.0, {1.0, 0.35, 0.2, 0.1, 0.06, 0.03}, {0.08, 0.06, 0.045, 0.035, 0.03, 0.025});
  drum.clickLevel = 0.3;
  drum.clickHz = 3000.0;
  drum.clickTau = 0.0007;
  drum.seed = 23;
  return RenderStrike(drum, rate, count);
}

TSignal RenderTablaSharpNa(double rate, std::size_t count) {
  // Struck at the rim: the fundamental is damped, the overtones ring.
  TStrike drum =
      Tabla(330.0, {0.3, 1.0, 0.7, 0.45, 0.25, 0.12}, {0.04, 0.08, 0.065, 0.05, 0.04, 0.03});
  drum.clickLevel = 0.5;
  drum.clickHz = 4000.0;
  drum.clickTau = 0.0006;
  drum.seed = 24;
  return RenderStrike(drum, rate, count);
}

}  // namespace zelmora::synth
